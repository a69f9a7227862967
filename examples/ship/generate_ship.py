#!/usr/bin/env python3
"""Generates the sample ship: deck drawings, ship.json and the data server scenario.

The compartment outlines are computed once from the hull profile and the
compartment table below, then written both into the SVG drawings and into
ship.json, so the drawings and the model agree point for point.

Usage: python3 generate_ship.py [output directory]   (default: this script's directory)
"""

import json
import math
import os
import sys

# Drawing geometry: user units of every deck drawing are scene coordinates.
WIDTH, HEIGHT = 2400, 600
CENTRE_Y = 300.0
FRAME_X0 = 90.0          # x of frame 0 (the transom of the main deck)
FRAME_SPACING = 15.0
LAST_FRAME = 146         # the stem of the main deck
PASSAGE_HALF_WIDTH = 25.0
SCALE_Y = 565.0          # baseline of the frame scale under the hull

SENSOR_MARGIN = 30.0     # keep sensor icons clear of bulkheads
SENSOR_GRID = 12.0       # candidate spacing for sensor positions
MIN_SENSOR_SPACING = 50.0  # sensor icons are 40 units wide (config/sensor.lua)
LABEL_GLYPH = 16.0       # compartment name font size in the drawings
LABEL_CLEARANCE = 24.0
LABEL_CLEARANCE_Y = 40.0

OUTLINE_SAMPLE = 8.0     # sampling step when measuring overlap between decks
MIN_OVERLAP_AREA = 2000.0
MIN_SHARED_EDGE = 10.0

FIRE, SINK, ABANDON = 1, 2, 4

# Region type numbers of config/region.lua (position in region.view_group, from 0).
T_PASSAGE, T_CABIN, T_ENGINE, T_MAGAZINE, T_FUEL, T_BALLAST, T_SWITCHBOARD, \
    T_BRIDGE, T_MUSTER, T_STAIR = range(10)

# Sensor view group names of config/sensor.lua.
VG_FIRE = "火灾探测"
VG_FLOOD = "进水监测"
VG_ABANDON = "弃船报警"
VG_ENV = "舱室环境"

# Response bits of each region type in config/region.lua, for compartments
# that do not set their own.
TYPE_RESPONSE = {
    T_PASSAGE: FIRE | SINK, T_CABIN: FIRE | SINK | ABANDON, T_ENGINE: FIRE | SINK, T_MAGAZINE: FIRE | SINK,
    T_FUEL: FIRE | SINK, T_BALLAST: SINK, T_SWITCHBOARD: FIRE, T_BRIDGE: FIRE | ABANDON, T_MUSTER: ABANDON,
    T_STAIR: FIRE | SINK,
}

TYPE_FILL = {
    T_PASSAGE: "#F7F7F2", T_CABIN: "#EEF3F8", T_ENGINE: "#E9ECEF", T_MAGAZINE: "#F3EEE6",
    T_FUEL: "#F1EFE4", T_BALLAST: "#E6F0F3", T_SWITCHBOARD: "#EEF0F6", T_BRIDGE: "#EAF2EC",
    T_MUSTER: "#F2F2EC", T_STAIR: "#F4F4F4",
}


def frame_x(frame):
    return FRAME_X0 + FRAME_SPACING * frame


def bow_profile(breadth, bow_start, stem):
    """Half-breadth of a hull deck: parallel body, then a parabolic bow."""
    def half_breadth(frame):
        if frame <= bow_start:
            return breadth
        t = (frame - bow_start) / float(stem - bow_start)
        return max(0.0, breadth * (1.0 - t * t))
    return half_breadth


def hull_profile(breadth, transom, bow_start, stem, stern_run=18):
    bow = bow_profile(breadth, bow_start, stem)

    def half_breadth(frame):
        if frame < transom + stern_run:
            t = (frame - transom) / float(stern_run)
            return breadth * (0.78 + 0.22 * math.sin(t * math.pi / 2.0))
        return bow(frame)
    return half_breadth


def house_profile(breadth, front_start, front, front_breadth):
    """Superstructure: straight sides, bridge front angled in plan."""
    def half_breadth(frame):
        if frame <= front_start:
            return breadth
        t = (frame - front_start) / float(front - front_start)
        return breadth + (front_breadth - breadth) * t
    return half_breadth


# Decks, lowest first. "aft"/"fore" are the frames where the deck's outline ends.
DECKS = [
    {"id": 1, "key": "D1", "name": "舱底甲板", "level": 1, "file": "d1_hold.svg",
     "aft": 4, "fore": 140, "profile": hull_profile(165.0, 4, 92, 140)},
    {"id": 2, "key": "D2", "name": "第二甲板", "level": 2, "file": "d2_second.svg",
     "aft": 1, "fore": 143, "profile": hull_profile(195.0, 1, 92, 143)},
    {"id": 3, "key": "D3", "name": "主甲板", "level": 3, "file": "d3_main.svg",
     "aft": 0, "fore": LAST_FRAME, "profile": hull_profile(210.0, 0, 92, LAST_FRAME)},
    {"id": 4, "key": "D4", "name": "01甲板", "level": 4, "file": "d4_01.svg",
     "aft": 40, "fore": 110, "profile": house_profile(150.0, 102, 110, 95.0),
     "house": True},
]

HULL = None        # lateral limit: the hull (or house) side
P = PASSAGE_HALF_WIDTH

# Compartments per deck: (frame from, frame to, lateral band, name, type[, response]).
# The lateral band runs from y offset lo to hi about the centre line (negative =
# port, drawn on top); HULL follows the deck outline. The optional response
# overrides the region type's response bits (region.lua) for this compartment.
COMPARTMENTS = {
    "D1": [
        (4, 14, (HULL, HULL), "舵机舱", T_ENGINE),
        (14, 30, (HULL, HULL), "后辅机舱", T_ENGINE),
        (30, 58, (HULL, HULL), "主机舱", T_ENGINE),
        (58, 72, (HULL, HULL), "发电机舱", T_ENGINE),
        (72, 84, (HULL, -60), "左燃油舱", T_FUEL),
        (72, 84, (-60, 60), "燃油泵舱", T_ENGINE),
        (72, 84, (60, HULL), "右燃油舱", T_FUEL),
        (84, 98, (HULL, HULL), "弹药舱", T_MAGAZINE),
        (98, 112, (HULL, -55), "左压载水舱", T_BALLAST),
        (98, 112, (-55, 55), "淡水舱", T_BALLAST),
        (98, 112, (55, HULL), "右压载水舱", T_BALLAST),
        (112, 126, (HULL, HULL), "声呐舱", T_CABIN, FIRE | SINK),
        (126, 140, (HULL, HULL), "锚链舱", T_CABIN, SINK),
    ],
    "D2": [
        (1, 14, (HULL, HULL), "后储藏室", T_CABIN, FIRE),
        (14, 30, (HULL, -P), "士兵住舱(左)", T_CABIN, FIRE),
        (14, 112, (-P, P), "中央通道", T_PASSAGE, FIRE),
        (14, 30, (P, HULL), "士兵住舱(右)", T_CABIN, FIRE),
        (30, 44, (HULL, -P), "机修间", T_CABIN, FIRE),
        (30, 44, (P, HULL), "集控室", T_CABIN, FIRE),
        (44, 58, (HULL, -P), "主机舱上部(左)", T_ENGINE),
        (44, 58, (P, HULL), "主机舱上部(右)", T_ENGINE),
        (58, 72, (HULL, -P), "厨房", T_CABIN, FIRE),
        (58, 72, (P, HULL), "士兵餐厅", T_CABIN, FIRE),
        (72, 80, (HULL, -P), "食品冷藏库", T_CABIN, FIRE),
        (72, 80, (P, HULL), "洗衣房", T_CABIN, FIRE),
        (80, 96, (HULL, -P), "军士住舱(左)", T_CABIN, FIRE),
        (80, 96, (P, HULL), "军士住舱(右)", T_CABIN, FIRE),
        (96, 112, (HULL, -P), "医务室", T_CABIN, FIRE),
        (96, 112, (P, HULL), "前配电间", T_SWITCHBOARD),
        (112, 128, (HULL, HULL), "帆缆储藏室", T_CABIN, FIRE),
        (128, 143, (HULL, HULL), "首尖舱", T_BALLAST),
    ],
    "D3": [
        (0, 14, (HULL, HULL), "后甲板集合站", T_MUSTER),
        (14, 30, (HULL, -P), "军官住舱(左)", T_CABIN, FIRE),
        (14, 100, (-P, P), "主通道", T_PASSAGE, FIRE),
        (14, 30, (P, HULL), "军官住舱(右)", T_CABIN, FIRE),
        (30, 46, (HULL, -P), "损管中心", T_CABIN, FIRE),
        (30, 46, (P, HULL), "舰长室", T_CABIN, FIRE),
        (46, 58, (HULL, -P), "军官会议室", T_CABIN, FIRE),
        (46, 58, (P, HULL), "后配电间", T_SWITCHBOARD),
        (58, 72, (HULL, -P), "军官餐厅", T_CABIN, FIRE),
        (58, 72, (P, HULL), "电工间", T_CABIN, FIRE),
        (72, 86, (HULL, -P), "通信器材室", T_CABIN, FIRE),
        (72, 86, (P, HULL), "空调机舱", T_ENGINE),
        (86, 100, (HULL, -P), "左舷集合站", T_MUSTER),
        (86, 100, (P, HULL), "右舷集合站", T_MUSTER),
        (100, 116, (HULL, HULL), "前储藏室", T_CABIN, FIRE),
        (116, 132, (HULL, HULL), "锚机舱", T_ENGINE),
        (132, LAST_FRAME, (HULL, HULL), "首楼储藏室", T_CABIN, FIRE),
    ],
    "D4": [
        (40, 56, (HULL, HULL), "直升机库", T_CABIN, FIRE),
        (56, 72, (HULL, 0), "雷达设备室", T_CABIN, FIRE),
        (56, 72, (0, HULL), "无线电室", T_CABIN, FIRE),
        (72, 90, (HULL, HULL), "作战指挥室", T_CABIN, FIRE),
        (90, 102, (HULL, 0), "海图室", T_CABIN, FIRE),
        (90, 102, (0, HULL), "信号室", T_CABIN, FIRE),
        (102, 110, (HULL, HULL), "驾驶室", T_BRIDGE),
    ],
}

# Stairs between two decks: (lower deck, upper deck, frame, y offset, name).
STAIRS = [
    ("D1", "D2", 56, -125.0, "主机舱梯"),
    ("D1", "D2", 70, 105.0, "发电机舱梯"),
    ("D2", "D3", 22, 0.0, "后梯道"),
    ("D2", "D3", 104, 0.0, "前梯道"),
    ("D3", "D4", 87, 0.0, "上层建筑梯道"),
]

# Sensor kinds: view group, code prefix, tag kind, display name, item builders.
SMOKE_ICONS = ["smoke_detector.svg", "smoke_detector_alarm.svg"]
HEAT_ICONS = ["heat_detector.svg", "heat_detector_alarm.svg"]
LEVEL_ICONS = ["level_gauge.svg", "level_gauge_alarm.svg"]
TEMP_ICONS = ["temperature_gauge.svg", "temperature_gauge_alarm.svg"]
ABANDON_ICONS = ["abandon_button.svg", "abandon_button_alarm.svg"]

# Raw transmitter counts (0..4095) to degrees Celsius, -40 .. 120.
COUNTS_TO_CELSIUS = "(0.0390625 1) (-40 0)"
# Loop current in mA (4..20) to water level in mm above the tank top, 0 .. 1000.
MILLIAMPS_TO_MM = "(62.5 1) (-250 0)"
NORMAL_CELSIUS = 24.0
NORMAL_MILLIAMPS = 4.4


def celsius_to_counts(celsius):
    return int(round((celsius + 40.0) / 0.0390625))


def state_item(tag, icons):
    return {"kind": "STATE", "tag": tag, "confirm_tag": tag + ".ACK", "icons": icons}


SENSOR_KINDS = {
    "smoke": {"name": "感烟探测器", "code": "SD", "tag": "SMK", "view_group": VG_FIRE,
              "system": "火灾报警系统",
              "items": lambda tag: [state_item(tag, SMOKE_ICONS)],
              "points": lambda tag: [(tag, "int", 0), (tag + ".ACK", "int", 1)]},
    "heat": {"name": "感温探测器", "code": "HD", "tag": "HT", "view_group": VG_FIRE,
             "system": "火灾报警系统",
             "items": lambda tag: [state_item(tag, HEAT_ICONS)],
             "points": lambda tag: [(tag, "int", 0), (tag + ".ACK", "int", 1)]},
    "multi": {"name": "复合火灾探测器", "code": "MD", "tag": "MUL", "view_group": VG_FIRE,
              "system": "火灾报警系统",
              "items": lambda tag: [
                  state_item(tag + ".SMK", SMOKE_ICONS),
                  state_item(tag + ".HT", HEAT_ICONS),
                  {"kind": "VALUE", "tag": tag + ".TMP", "confirm_tag": tag + ".TMP.ACK",
                   "low_low": -30.0, "low": -10.0, "high": 57.0, "high_high": 70.0,
                   "precision": 1}],
              "points": lambda tag: [
                  (tag + ".SMK", "int", 0), (tag + ".SMK.ACK", "int", 1),
                  (tag + ".HT", "int", 0), (tag + ".HT.ACK", "int", 1),
                  (tag + ".TMP", "float", NORMAL_CELSIUS), (tag + ".TMP.ACK", "int", 1)]},
    "temperature": {"name": "舱室温度变送器", "code": "TT", "tag": "TT", "view_group": VG_ENV,
                    "system": "舱室环境监测系统",
                    "items": lambda tag: [
                        state_item(tag + ".FLT", TEMP_ICONS),
                        {"kind": "VALUE", "tag": tag, "confirm_tag": tag + ".ACK",
                         "low_low": -30.0, "low": -10.0, "high": 55.0, "high_high": 70.0,
                         "precision": 1, "transform": COUNTS_TO_CELSIUS}],
                    "points": lambda tag: [
                        (tag + ".FLT", "int", 0), (tag + ".FLT.ACK", "int", 1),
                        (tag, "int", celsius_to_counts(NORMAL_CELSIUS)), (tag + ".ACK", "int", 1)]},
    "flood": {"name": "进水探测器", "code": "FS", "tag": "FLD", "view_group": VG_FLOOD,
              "system": "进水监测系统",
              "items": lambda tag: [state_item(tag, LEVEL_ICONS)],
              "points": lambda tag: [(tag, "int", 0), (tag + ".ACK", "int", 1)]},
    "level": {"name": "舱底水位变送器", "code": "LT", "tag": "LVL", "view_group": VG_FLOOD,
              "system": "进水监测系统",
              "items": lambda tag: [
                  state_item(tag + ".HI", LEVEL_ICONS),
                  {"kind": "VALUE", "tag": tag, "confirm_tag": tag + ".ACK",
                   "low": -20.0, "high": 150.0, "high_high": 400.0,
                   "precision": 0, "transform": MILLIAMPS_TO_MM}],
              "points": lambda tag: [
                  (tag + ".HI", "int", 0), (tag + ".HI.ACK", "int", 1),
                  (tag, "double", NORMAL_MILLIAMPS), (tag + ".ACK", "int", 1)]},
    "abandon": {"name": "弃船报警按钮", "code": "AB", "tag": "ABN", "view_group": VG_ABANDON,
                "system": "通用报警系统",
                "items": lambda tag: [state_item(tag, ABANDON_ICONS)],
                "points": lambda tag: [(tag, "int", 0), (tag + ".ACK", "int", 1)]},
}

FIRE_DETECTOR_AREA = 11000.0   # one fire detector per this much floor area
LARGE_TANK_AREA = 20000.0      # tanks this large get a second level transmitter
LARGE_ROOM_AREA = 30000.0      # rooms this large get a bilge level transmitter
PASSAGE_DETECTOR_SPACING = 160.0


def sensor_plan(compartment):
    """Which sensors a compartment carries, by its type, response and size.

    The sensors that matter most come first: a small compartment keeps only as
    many as fit (see spread_positions).
    """
    ctype, area, deck = compartment["type"], compartment["area"], compartment["deck_key"]
    response = compartment.get("response", TYPE_RESPONSE[ctype])
    if ctype == T_MUSTER:
        return ["abandon", "abandon", "smoke"]
    if ctype in (T_FUEL, T_BALLAST):
        return ["level", "flood"] + (["level"] if area > LARGE_TANK_AREA else [])
    if ctype == T_PASSAGE:
        return ["smoke"] * max(2, int(compartment["length"] / PASSAGE_DETECTOR_SPACING))
    plan = []
    if response & SINK and (deck == "D1" or ctype == T_ENGINE):
        plan += ["flood", "level"] if area > LARGE_ROOM_AREA else ["flood"]
    if response & FIRE:
        kinds = ["smoke", "multi", "heat"] if ctype in (T_ENGINE, T_SWITCHBOARD) else ["smoke", "smoke", "multi"]
        fire_count = max(1, int(round(area / FIRE_DETECTOR_AREA)))
        plan += [kinds[i % len(kinds)] for i in range(fire_count)]
        plan.append("temperature")
    return plan


# Equipment kinds (icons in ../icons, catalogue names in the equipment layer).
CLASSIFIERS = [
    {"id": 1, "name": "手提式灭火器", "icon": "equip_extinguisher.svg", "moveable": True,
     "classifier": FIRE, "situation": "初期火灾扑救"},
    {"id": 2, "name": "消防水带站", "icon": "equip_hose.svg", "moveable": False,
     "classifier": FIRE, "situation": "舱室火灾扑救, 邻舱冷却"},
    {"id": 3, "name": "移动式排水泵", "icon": "equip_pump.svg", "moveable": True,
     "classifier": SINK, "situation": "舱室进水排除"},
    {"id": 4, "name": "空气呼吸器", "icon": "equip_breathing.svg", "moveable": True,
     "classifier": FIRE | SINK, "situation": "烟气或缺氧舱室作业"},
]

# (deck, compartment name, classifier id, amount, specification)
EQUIPMENT = [
    ("D1", "主机舱", 1, 4, "MFZ/ABC8"), ("D1", "主机舱", 3, 1, "QW65-25"),
    ("D1", "发电机舱", 1, 2, "MFZ/ABC8"), ("D1", "后辅机舱", 3, 1, "QW65-25"),
    ("D1", "弹药舱", 2, 1, "DN65 25m"), ("D1", "声呐舱", 3, 1, "QW50-15"),
    ("D2", "中央通道", 2, 1, "DN65 25m"), ("D2", "中央通道", 1, 6, "MFZ/ABC4"),
    ("D2", "厨房", 1, 2, "MJ6 湿式"), ("D2", "集控室", 4, 4, "RHZK6.8/30"),
    ("D2", "帆缆储藏室", 3, 2, "QW65-25"), ("D2", "医务室", 1, 1, "MFZ/ABC4"),
    ("D3", "主通道", 2, 1, "DN65 25m"), ("D3", "主通道", 1, 6, "MFZ/ABC4"),
    ("D3", "损管中心", 4, 8, "RHZK6.8/30"), ("D3", "损管中心", 3, 2, "QW65-25"),
    ("D3", "锚机舱", 1, 2, "MFZ/ABC8"), ("D3", "左舷集合站", 4, 4, "RHZK6.8/30"),
    ("D4", "作战指挥室", 1, 2, "MT5 CO2"), ("D4", "驾驶室", 1, 1, "MT5 CO2"),
    ("D4", "直升机库", 2, 1, "DN65 25m"), ("D4", "直升机库", 1, 4, "MFZ/ABC8"),
]

# Teams at their stations: (team name of config/team.lua, deck, compartment name).
TEAMS = [
    ("消防队", "D3", "损管中心"),
    ("堵漏队", "D3", "损管中心"),
    ("排水队", "D2", "帆缆储藏室"),
    ("救护队", "D2", "医务室"),
]

# Damage boundaries: (type, deck, frame from, frame to, copied to decks).
# A boundary runs round the hull between two main transverse bulkheads.
BOUNDARIES = [
    ("fire", "D2", 58, 80, ["D3"]),
    ("fire", "D1", 30, 72, ["D2"]),
    ("smoke", "D3", 58, 86, []),
]


# --- geometry ---------------------------------------------------------------

def rnd(v):
    return round(v, 2)


def deck_outline(deck):
    hb = deck["profile"]
    frames = range(deck["aft"], deck["fore"] + 1)
    top = [(frame_x(f), CENTRE_Y - hb(f)) for f in frames]
    bottom = [(frame_x(f), CENTRE_Y + hb(f)) for f in reversed(frames)]
    return dedupe(top + bottom)


def dedupe(points):
    out = []
    for p in points:
        p = (rnd(p[0]), rnd(p[1]))
        if not out or out[-1] != p:
            out.append(p)
    if len(out) > 1 and out[0] == out[-1]:
        out.pop()
    return out


def band_edge(hb, frame, offset, side):
    if offset is HULL:
        return CENTRE_Y + side * hb(frame)
    if abs(offset) >= hb(frame):
        raise ValueError("band offset %s outside the hull at frame %d" % (offset, frame))
    return CENTRE_Y + offset


def compartment_outline(deck, f0, f1, band):
    hb = deck["profile"]
    lo, hi = band
    frames = list(range(f0, f1 + 1))
    if lo is HULL:
        top = [(frame_x(f), band_edge(hb, f, lo, -1)) for f in frames]
    else:
        top = [(frame_x(f0), band_edge(hb, f0, lo, -1)), (frame_x(f1), band_edge(hb, f1, lo, -1))]
    if hi is HULL:
        bottom = [(frame_x(f), band_edge(hb, f, hi, 1)) for f in reversed(frames)]
    else:
        bottom = [(frame_x(f1), band_edge(hb, f1, hi, 1)), (frame_x(f0), band_edge(hb, f0, hi, 1))]
    return dedupe(top + bottom)


def area(poly):
    s = 0.0
    for i in range(len(poly)):
        x0, y0 = poly[i]
        x1, y1 = poly[(i + 1) % len(poly)]
        s += x0 * y1 - x1 * y0
    return abs(s) / 2.0


def centroid(poly):
    a, cx, cy = 0.0, 0.0, 0.0
    for i in range(len(poly)):
        x0, y0 = poly[i]
        x1, y1 = poly[(i + 1) % len(poly)]
        c = x0 * y1 - x1 * y0
        a += c
        cx += (x0 + x1) * c
        cy += (y0 + y1) * c
    a /= 2.0
    return (cx / (6.0 * a), cy / (6.0 * a))


def contains(poly, p):
    """Odd-even rule, as the model's Region::containsPoint."""
    x, y = p
    inside = False
    n = len(poly)
    for i in range(n):
        x0, y0 = poly[i]
        x1, y1 = poly[(i + 1) % n]
        if (y0 > y) != (y1 > y):
            xc = x0 + (y - y0) * (x1 - x0) / (y1 - y0)
            if x < xc:
                inside = not inside
    return inside


def distance_to_segment(p, a, b):
    px, py = p
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def distance_to_outline(poly, p):
    return min(distance_to_segment(p, poly[i], poly[(i + 1) % len(poly)]) for i in range(len(poly)))


def bbox(poly):
    xs = [p[0] for p in poly]
    ys = [p[1] for p in poly]
    return min(xs), min(ys), max(xs), max(ys)


def overlap_area(a, b):
    ax0, ay0, ax1, ay1 = bbox(a)
    bx0, by0, bx1, by1 = bbox(b)
    x0, y0, x1, y1 = max(ax0, bx0), max(ay0, by0), min(ax1, bx1), min(ay1, by1)
    if x0 >= x1 or y0 >= y1:
        return 0.0
    hits = 0
    y = y0 + OUTLINE_SAMPLE / 2
    while y < y1:
        x = x0 + OUTLINE_SAMPLE / 2
        while x < x1:
            if contains(a, (x, y)) and contains(b, (x, y)):
                hits += 1
            x += OUTLINE_SAMPLE
        y += OUTLINE_SAMPLE
    return hits * OUTLINE_SAMPLE * OUTLINE_SAMPLE


def shared_edge(a, b):
    """Length and orientation ('x' = transverse bulkhead, 'y' = longitudinal) of a common wall."""
    best = (0.0, None)
    for i in range(len(a)):
        p0, p1 = a[i], a[(i + 1) % len(a)]
        for j in range(len(b)):
            q0, q1 = b[j], b[(j + 1) % len(b)]
            if p0[0] == p1[0] == q0[0] == q1[0]:
                lo = max(min(p0[1], p1[1]), min(q0[1], q1[1]))
                hi = min(max(p0[1], p1[1]), max(q0[1], q1[1]))
                if hi - lo > best[0]:
                    best = (hi - lo, "x")
            elif p0[1] == p1[1] == q0[1] == q1[1]:
                lo = max(min(p0[0], p1[0]), min(q0[0], q1[0]))
                hi = min(max(p0[0], p1[0]), max(q0[0], q1[0]))
                if hi - lo > best[0]:
                    best = (hi - lo, "y")
    return best


# --- building the ship --------------------------------------------------------

def build_compartments():
    compartments = []
    by_deck = {}
    for deck in DECKS:
        rows = COMPARTMENTS[deck["key"]]
        by_deck[deck["key"]] = []
        for index, row in enumerate(rows):
            f0, f1, band, name, ctype = row[:5]
            response = row[5] if len(row) > 5 else None
            outline = compartment_outline(deck, f0, f1, band)
            side = "中"
            if band[0] is not HULL and band[0] >= 0:
                side = "右"
            elif band[1] is not HULL and band[1] <= 0:
                side = "左"
            side_code = {"中": 0, "右": 1, "左": 2}[side]
            c = {
                "id": deck["id"] * 100 + index + 1,
                "deck": deck["id"],
                "deck_key": deck["key"],
                "name": name,
                "code": "%d-%d-%d" % (deck["level"], f0, side_code),
                "type": ctype,
                "ribs": "%d-%d" % (f0, f1),
                "side": side,
                "outline": outline,
                "area": area(outline),
                "length": frame_x(f1) - frame_x(f0),
            }
            if response is not None:
                c["response"] = response
            compartments.append(c)
            by_deck[deck["key"]].append(c)
    return compartments, by_deck


def find_neighbours(by_deck):
    levels = [d["key"] for d in DECKS]
    for deck_key, comps in by_deck.items():
        for c in comps:
            c["neighbours"] = {k: [] for k in ("up", "down", "left", "right", "front", "back")}
    for deck_key, comps in by_deck.items():
        for a in comps:
            ca = centroid(a["outline"])
            for b in comps:
                if a is b:
                    continue
                length, orientation = shared_edge(a["outline"], b["outline"])
                if length < MIN_SHARED_EDGE:
                    continue
                cb = centroid(b["outline"])
                if orientation == "x":
                    a["neighbours"]["front" if cb[0] > ca[0] else "back"].append(b["id"])
                else:
                    a["neighbours"]["left" if cb[1] < ca[1] else "right"].append(b["id"])
    for lower_key, upper_key in zip(levels, levels[1:]):
        for a in by_deck[lower_key]:
            for b in by_deck[upper_key]:
                if overlap_area(a["outline"], b["outline"]) >= MIN_OVERLAP_AREA:
                    a["neighbours"]["up"].append(b["id"])
                    b["neighbours"]["down"].append(a["id"])


def label_point(c):
    x, y = centroid(c["outline"])
    return (rnd(x), rnd(y))


def candidate_positions(c, margin):
    x0, y0, x1, y1 = bbox(c["outline"])
    lx, ly = label_point(c)
    half_label = len(c["name"]) * LABEL_GLYPH / 2.0 + LABEL_CLEARANCE
    out = []
    y = y0 + margin
    while y <= y1 - margin:
        x = x0 + margin
        while x <= x1 - margin:
            p = (x, y)
            if abs(x - lx) < half_label and abs(y - ly) < LABEL_CLEARANCE_Y:
                x += SENSOR_GRID
                continue
            if contains(c["outline"], p) and distance_to_outline(c["outline"], p) >= margin:
                out.append(p)
            x += SENSOR_GRID
        y += SENSOR_GRID
    return out


def spread_positions(c, count, taken):
    """Farthest-point picks, so sensors spread over the compartment.

    Stops early when the next pick would crowd an earlier one, so a small
    compartment gets fewer sensors than planned (but always one).
    """
    margin = SENSOR_MARGIN
    candidates = candidate_positions(c, margin)
    while len(candidates) < count and margin > 8.0:
        margin /= 2.0
        candidates = candidate_positions(c, margin)
    if not candidates:
        raise ValueError("no room for sensors in %s" % c["name"])
    chosen = []
    anchors = list(taken)
    for _ in range(count):
        if anchors:
            def clearance(p):
                return min(math.hypot(p[0] - q[0], p[1] - q[1]) for q in anchors)
            best = max(candidates, key=lambda p: (clearance(p), -p[0], -p[1]))
            if chosen and clearance(best) < MIN_SENSOR_SPACING:
                break
        else:
            best = min(candidates, key=lambda p: (p[0], p[1]))
        chosen.append(best)
        anchors.append(best)
    return [(rnd(x), rnd(y)) for x, y in chosen]


def stair_positions(deck_key):
    return [(frame_x(frame), CENTRE_Y + offset)
            for lower, upper, frame, offset, _ in STAIRS if deck_key in (lower, upper)]


def build_sensors(compartments):
    sensors = []
    counters = {}
    points = []
    placed = {}
    for c in compartments:
        plan = sensor_plan(c)
        deck = next(d for d in DECKS if d["id"] == c["deck"])
        stairs = stair_positions(deck["key"])
        positions = spread_positions(c, len(plan), stairs)
        placed[c["id"]] = stairs + list(positions)
        for kind_key, pos in zip(plan, positions):
            kind = SENSOR_KINDS[kind_key]
            n = counters.get((deck["key"], kind["tag"]), 0) + 1
            counters[(deck["key"], kind["tag"])] = n
            tag = "%s-%s-%03d" % (deck["key"], kind["tag"], n)
            sensor = {
                "id": len(sensors) + 1,
                "deck": deck["id"],
                "compartment": c["id"],
                "name": "%s%s" % (c["name"], kind["name"]),
                "code": "%s%d-%02d" % (kind["code"], deck["level"], n),
                "position": list(pos),
                "view_group": kind["view_group"],
                "system": kind["system"],
                "device": kind["name"],
                "items": kind["items"](tag),
            }
            sensors.append(sensor)
            for name, ptype, value in kind["points"](tag):
                points.append({"name": name, "type": ptype, "value": value})
    return sensors, points, placed


def build_equipment(by_name, placed):
    pieces = []
    for deck_key, comp_name, classifier, amount, specification in EQUIPMENT:
        c = by_name[(deck_key, comp_name)]
        pos = spread_positions(c, 1, placed[c["id"]])[0]
        placed[c["id"]].append(pos)
        pieces.append({
            "id": len(pieces) + 1,
            "classifier": classifier,
            "deck": c["deck"],
            "compartment": c["id"],
            "position": list(pos),
            "amount": amount,
            "valid_date": "2027-%02d-28" % (1 + len(pieces) % 12),
            "condition": 1,
            "specification": specification,
            "charge": "损管部门",
            "controller": c["name"],
            "maintenance": "每月检查一次",
            "comments": "",
        })
    return pieces


def build_teams(by_name, placed):
    teams = []
    for name, deck_key, comp_name in TEAMS:
        c = by_name[(deck_key, comp_name)]
        pos = spread_positions(c, 1, placed[c["id"]])[0]
        placed[c["id"]].append(pos)
        teams.append({"name": name, "deck": c["deck"], "compartment": c["id"], "position": list(pos)})
    return teams


def build_boundaries():
    keyed = {d["key"]: d for d in DECKS}
    out = []
    for btype, deck_key, f0, f1, copies in BOUNDARIES:
        deck = keyed[deck_key]
        out.append({
            "id": len(out) + 1,
            "type": btype,
            "deck": deck["id"],
            "outline": [list(p) for p in compartment_outline(deck, f0, f1, (HULL, HULL))],
            "copies": [keyed[k]["id"] for k in copies],
        })
    return out


# --- scenario -------------------------------------------------------------------

def build_scenario(sensors, by_name, points):
    galley = by_name[("D2", "厨房")]["id"]
    store = by_name[("D2", "食品冷藏库")]["id"]
    wardroom = by_name[("D3", "军官餐厅")]["id"]
    chain_locker = by_name[("D1", "锚链舱")]["id"]
    fore_peak = by_name[("D2", "首尖舱")]["id"]
    events = []

    def alarm(at, item, value=1):
        events.append({"at": at, "name": item["tag"], "value": value})
        events.append({"at": at, "name": item["confirm_tag"], "value": 0})

    def clear(at, item, value=0):
        events.append({"at": at, "name": item["tag"], "value": value})
        events.append({"at": at, "name": item["confirm_tag"], "value": 1})

    def state_items(cid):
        return [i for s in sensors if s["compartment"] == cid for i in s["items"]
                if i["kind"] == "STATE" and not i["tag"].endswith(".FLT")]

    def value_items(cid):
        return [i for s in sensors if s["compartment"] == cid for i in s["items"]
                if i["kind"] == "VALUE"]

    def ramp(item, steps, alarm_at):
        for at, value in steps:
            events.append({"at": at, "name": item["tag"], "value": value})
        events.append({"at": alarm_at, "name": item["confirm_tag"], "value": 0})

    def temperature_items(cid):
        """(item, raw value for a temperature in degrees) of every temperature reading."""
        out = []
        for s in sensors:
            if s["compartment"] != cid:
                continue
            for item in s["items"]:
                if item["kind"] != "VALUE":
                    continue
                if item["tag"].endswith(".TMP"):
                    out.append((item, lambda celsius: celsius))
                elif "-TT-" in item["tag"]:
                    out.append((item, celsius_to_counts))
        return out

    # Fire in the galley: detectors trip one after another within seconds,
    # the temperature climbs past its high limit.
    galley_states = state_items(galley)
    for n, item in enumerate(galley_states):
        alarm(1.0 + 0.5 * n, item)
    for item, raw in temperature_items(galley):
        ramp(item, [(at, raw(celsius)) for at, celsius in
                    ((2.0, 48.0), (3.0, 66.0), (4.0, 85.0), (8.0, 110.0))], 3.0)

    # Spread to the provision store forward of the galley.
    for n, item in enumerate(state_items(store)[:2]):
        alarm(10.0 + 2.0 * n, item)
    # Smoke rises into the wardroom on the main deck above.
    wardroom_smoke = [i for i in state_items(wardroom) if "-SMK-" in i["tag"] or i["tag"].endswith(".SMK")]
    for n, item in enumerate(wardroom_smoke[:2]):
        alarm(14.0 + 1.5 * n, item)
    # Damage at the bow: the chain locker on the hold deck and the fore peak above it flood.
    flood_rooms = (chain_locker, fore_peak)
    flooding = [i for cid in flood_rooms for i in state_items(cid) if "-FLD-" in i["tag"] or i["tag"].endswith(".HI")]
    for n, item in enumerate(flooding):
        alarm(18.0 + 1.0 * n, item)
    levels = [i for cid in flood_rooms for i in value_items(cid) if "-LVL-" in i["tag"]]
    for item in levels:
        ramp(item, [(18.0, 9.6), (24.0, 12.0)], 18.0)

    # Some alarms clear: the wardroom is ventilated, the store cools, flooding is pumped out.
    for item in wardroom_smoke[:2]:
        clear(30.0, item)
    for item in state_items(store)[:2]:
        clear(36.0, item)
    for item in flooding:
        clear(46.0, item)
    for item in levels:
        clear(46.0, item, NORMAL_MILLIAMPS)
    # The galley fire is out at the end; the timeline then starts over.
    for item in galley_states:
        clear(55.0, item)
    for item, raw in temperature_items(galley):
        clear(55.0, item, raw(NORMAL_CELSIUS))

    events.sort(key=lambda e: e["at"])
    return {"points": points, "events": events, "repeat": True}


# --- drawings -------------------------------------------------------------------

def fmt_points(poly):
    return " ".join("%g,%g" % p for p in poly)


def svg_text(x, y, text, size, extra=""):
    return ('<text x="%g" y="%g" font-family="WenQuanYi Micro Hei" font-size="%g" '
            'text-anchor="middle"%s>%s</text>' % (x, y, size, extra, text))


def stair_svg(x, y, name, direction):
    w, h = 28.0, 52.0
    parts = ['<g class="stair">',
             '<rect x="%g" y="%g" width="%g" height="%g" fill="#FFFFFF" stroke="#333333" stroke-width="1.5"/>'
             % (x - w / 2, y - h / 2, w, h)]
    for i in range(1, 8):
        ty = y - h / 2 + i * h / 8
        parts.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="#333333" stroke-width="0.8"/>'
                     % (x - w / 2, ty, x + w / 2, ty))
    parts.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="#333333" stroke-width="1.2"/>'
                 % (x, y + h / 2 - 4, x, y - h / 2 + 6))
    parts.append('<polygon points="%g,%g %g,%g %g,%g" fill="#333333"/>'
                 % (x - 5, y - h / 2 + 12, x + 5, y - h / 2 + 12, x, y - h / 2 + 3))
    parts.append(svg_text(x, y + h / 2 + 13, "%s(%s)" % (name, direction), 10))
    parts.append('</g>')
    return "\n".join(parts)


def deck_svg(deck, compartments, reference_outline):
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<!-- Generated by generate_ship.py; edit the script, not this file. -->',
           '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
           'width="%d" height="%d" viewBox="0 0 %d %d">' % (WIDTH, HEIGHT, WIDTH, HEIGHT),
           '<rect x="0" y="0" width="%d" height="%d" fill="#FFFFFF"/>' % (WIDTH, HEIGHT),
           '<text x="24" y="34" font-family="WenQuanYi Micro Hei" font-size="22" fill="#102040">'
           '%s (第%d层)</text>' % (deck["name"], deck["level"])]
    if reference_outline:
        out.append('<polygon points="%s" fill="none" stroke="#9AA5B1" stroke-width="1.5" '
                   'stroke-dasharray="8,6"/>' % fmt_points(reference_outline))
        out.append(svg_text(frame_x(20), CENTRE_Y + 6, "飞行甲板", 20, ' fill="#7A8794"'))
    outline = deck_outline(deck)
    out.append('<polygon class="hull" points="%s" fill="#FAFBFC" stroke="#1F2D3D" stroke-width="4"/>'
               % fmt_points(outline))
    for f in range(deck["aft"], deck["fore"] + 1, 10):
        hb = deck["profile"](f)
        out.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="#C9D1D9" stroke-width="0.6" '
                   'stroke-dasharray="3,5"/>' % (frame_x(f), CENTRE_Y - hb, frame_x(f), CENTRE_Y + hb))
    for c in compartments:
        out.append('<polygon class="compartment" points="%s" fill="%s" stroke="#3D4B5C" stroke-width="2"/>'
                   % (fmt_points(c["outline"]), TYPE_FILL[c["type"]]))
    for c in compartments:
        lx, ly = label_point(c)
        out.append(svg_text(lx, ly, c["name"], 16, ' fill="#1F2D3D"'))
        out.append(svg_text(lx, ly + 16, c["code"], 11, ' fill="#5A6878"'))
    for lower, upper, frame, offset, name in STAIRS:
        if deck["key"] in (lower, upper):
            direction = "上" if deck["key"] == lower else "下"
            out.append(stair_svg(frame_x(frame), CENTRE_Y + offset, name, direction))
    # Frame scale under the hull.
    out.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="#1F2D3D" stroke-width="1"/>'
               % (frame_x(0), SCALE_Y, frame_x(LAST_FRAME), SCALE_Y))
    for f in range(0, LAST_FRAME + 1):
        tick = 10 if f % 10 == 0 else (6 if f % 5 == 0 else 3)
        out.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="#1F2D3D" stroke-width="0.8"/>'
                   % (frame_x(f), SCALE_Y, frame_x(f), SCALE_Y - tick))
        if f % 10 == 0:
            out.append(svg_text(frame_x(f), SCALE_Y + 16, "#%d" % f, 11))
    out.append(svg_text(WIDTH - 50, CENTRE_Y + 6, "船首 →", 16, ' fill="#5A6878"'))
    out.append(svg_text(42, CENTRE_Y + 6, "船尾", 16, ' fill="#5A6878"'))
    out.append(svg_text(frame_x(70), 58, "左舷", 14, ' fill="#5A6878"'))
    out.append(svg_text(frame_x(70), 548, "右舷", 14, ' fill="#5A6878"'))
    out.append('</svg>')
    return "\n".join(out) + "\n"


# --- output ---------------------------------------------------------------------

def public_compartment(c):
    keys = ("id", "deck", "name", "code", "type", "response", "ribs", "side")
    out = {k: c[k] for k in keys if k in c}
    out["outline"] = [list(p) for p in c["outline"]]
    out["neighbours"] = c["neighbours"]
    return out


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    compartments, by_deck = build_compartments()
    find_neighbours(by_deck)
    by_name = {(c["deck_key"], c["name"]): c for c in compartments}
    sensors, points, placed = build_sensors(compartments)
    equipment = build_equipment(by_name, placed)
    teams = build_teams(by_name, placed)
    boundaries = build_boundaries()
    scenario = build_scenario(sensors, by_name, points)

    ship = {
        "format": 1,
        "name": "示例护卫舰",
        "decks": [{"id": d["id"], "name": d["name"], "level": d["level"], "drawing": "decks/" + d["file"]}
                  for d in DECKS],
        "compartments": [public_compartment(c) for c in compartments],
        "sensors": sensors,
        "equipment_classifiers": CLASSIFIERS,
        "equipment": equipment,
        "teams": teams,
        "boundaries": boundaries,
    }

    os.makedirs(os.path.join(out_dir, "decks"), exist_ok=True)
    main_deck = next(d for d in DECKS if d["key"] == "D3")
    for deck in DECKS:
        reference = deck_outline(main_deck) if deck.get("house") else None
        with open(os.path.join(out_dir, "decks", deck["file"]), "w", encoding="utf-8") as f:
            f.write(deck_svg(deck, by_deck[deck["key"]], reference))
    with open(os.path.join(out_dir, "ship.json"), "w", encoding="utf-8") as f:
        json.dump(ship, f, ensure_ascii=False, indent=1)
        f.write("\n")
    with open(os.path.join(out_dir, "scenario.json"), "w", encoding="utf-8") as f:
        json.dump(scenario, f, ensure_ascii=False, indent=1)
        f.write("\n")
    print("%d decks, %d compartments, %d sensors, %d data points, %d events"
          % (len(DECKS), len(compartments), len(sensors), len(scenario["points"]), len(scenario["events"])))


if __name__ == "__main__":
    main()
