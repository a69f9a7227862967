#!/usr/bin/env python3
"""Writes docs/performance.md from the JSON output of the benchmark programs.

Usage: make_report.py RESULTS_DIR OUTPUT_MD
       make_report.py --section display|flood RESULTS_DIR   (prints that section only)
RESULTS_DIR holds <program>.json for each benchmark program, lscpu.txt and,
from the station measurement, station.json. The display section ends with the
hand-kept profile notes of bench/display_profile.md, and the document with the
hand-kept notes of bench/performance_notes.md.
"""

import datetime
import json
import os
import sys

# Targets on the reference machine (2 cores).
PARSER_REALISTIC_BPS = 1e9
PARSER_HOSTILE_BPS = 100e6
CLIENT_UNITS_PER_S = 2e6
CLIENT_OVER_MQTT = 50
FLIP_NS = 500
# Display: (CPU ms per paint, process CPU share, paints per second or None) while blinking.
BLINK_TARGETS = {20: (1.5, 0.10, None), 1000: (8.0, 0.50, 60.0)}
PAN_STEP_MS = 8
ZOOM_STEP_MS = 16
FULL_REPAINT_MS = 8
DISPLAY_NOTES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "display_profile.md")
# Hand-kept notes of earlier rounds of work, appended after the generated sections.
LATER_NOTES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "performance_notes.md")
STARTUP_MS = 300
# Station under an alarm flood: CPU seconds and the longest pause in painting.
FLOOD_CPU_S = 0.5
FLOOD_GAP_MS = 100


def load(results, program):
    path = os.path.join(results, program + ".json")
    if not os.path.exists(path):
        return None, {}
    with open(path) as f:
        data = json.load(f)
    # With repetitions the median stands for the benchmark; otherwise its one run.
    runs = {}
    for b in data.get("benchmarks", []):
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                runs[b["run_name"]] = b
        else:
            runs.setdefault(b["run_name"] if "run_name" in b else b["name"], b)
    return data.get("context", {}), runs


def find(runs, prefix):
    for name, run in runs.items():
        if name == prefix or name.startswith(prefix + "/"):
            return run
    return None


def ns(run, key="cpu_time"):
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[run["time_unit"]]
    return run[key] * scale


def met(ok):
    return "met" if ok else "**not met**"


def mbps(bps):
    return f"{bps / 1e6:,.0f} MB/s"


def rate(r):
    return f"{r / 1e6:,.2f} M/s" if r >= 1e6 else f"{r / 1e3:,.1f} k/s"


def missing(name):
    return f"| {name} | not measured (run failed or skipped) | | |\n"


def parser_section(runs):
    out = "## 1. Parser\n\n"
    out += ("The client's parser fed in the reads of its 8 KiB receive buffer (`AnalysFrame` through a test "
            "seam, no socket), beside `memcpy` of the same bytes in the same chunks. Rates are per CPU second.\n\n")
    out += "| Input | Parser | Reference (memcpy) | Parser / memcpy | Target |\n|---|---|---|---|---|\n"
    for units, label in ((1, "realistic, 1 unit per frame (as the reference server sends)"),
                         (16, "realistic, 16 units per frame")):
        p, m = runs.get(f"BM_ParseRealistic/{units}"), runs.get(f"BM_MemcpyRealistic/{units}")
        if not p or not m or "error_occurred" in p:
            out += missing(label)
            continue
        out += (f"| {label} | {mbps(p['bytes_per_second'])}, {rate(p['units/s'])} units | "
                f"{mbps(m['bytes_per_second'])} | {p['bytes_per_second'] / m['bytes_per_second']:.3f} | "
                f">= 1 GB/s: {met(p['bytes_per_second'] >= PARSER_REALISTIC_BPS)} |\n")
    for bench, label in (("BM_ParseAllHeadBytes", "hostile: every byte 0xFA"),
                         ("BM_ParseLargestHeads", "hostile: heads announcing the largest frame the buffer holds")):
        small, large = runs.get(f"{bench}/262144"), runs.get(f"{bench}/4194304")
        ref = runs.get("BM_MemcpyHostile/4194304")
        if not small or not large or not ref:
            out += missing(label)
            continue
        worst = min(small["bytes_per_second"], large["bytes_per_second"])
        out += (f"| {label}: 256 KiB / 4 MiB | {mbps(small['bytes_per_second'])} / {mbps(large['bytes_per_second'])} "
                f"(4 MiB rate / 256 KiB rate = {large['bytes_per_second'] / small['bytes_per_second']:.2f}, "
                f"1.0 is linear) | {mbps(ref['bytes_per_second'])} | "
                f"{large['bytes_per_second'] / ref['bytes_per_second']:.4f} | >= 100 MB/s and linear: "
                f"{met(worst >= PARSER_HOSTILE_BPS and large['bytes_per_second'] >= 0.8 * small['bytes_per_second'])} |\n")
    return out + "\n"


def client_section(runs):
    out = "## 2. Client end to end\n\n"
    out += ("Units reaching the client's callback from `tavimor-dataserver` over 127.0.0.1: a second connection "
            "writes 8-byte values of 1,000 booked points (200 units per write frame, at most 16,000 units in "
            "flight), the server sends each as an update frame. Beside it, in the same run, the same number of "
            "8-byte messages from a libmosquitto publisher through a local `mosquitto` broker (QoS 0) to a "
            "libmosquitto subscriber. Rates are per wall-clock second; CPU per unit is the bench process's "
            "(client plus writer, or publisher plus subscriber) and, for the data server, the server process's.\n\n")
    c, m = find(runs, "BM_ClientFromDataServer"), find(runs, "BM_MqttPeer")
    out += "| Path | Units/s | CPU per unit | Target |\n|---|---|---|---|\n"
    if c and "error_occurred" not in c:
        out += (f"| Tavimor from the data server | {rate(c['units/s'])} | client {c['client_cpu_ns/unit']:.0f} ns, "
                f"server {c['server_cpu_ns/unit']:.0f} ns | >= 2 M/s: {met(c['units/s'] >= CLIENT_UNITS_PER_S)} |\n")
    else:
        out += missing("Tavimor from the data server")
    if m and "error_occurred" not in m:
        lost = m.get("lost_share", 0.0)
        loss = f", {lost:.1%} of the messages lost (rate of those delivered)" if lost > 0 else ", none lost"
        out += (f"| MQTT peer (mosquitto) | {rate(m['units/s'])}{loss} | publisher + subscriber "
                f"{m['client_cpu_ns/unit']:.0f} ns per delivered message | |\n")
    else:
        out += missing("MQTT peer")
    if c and m and "error_occurred" not in c and "error_occurred" not in m:
        ratio = c["units/s"] / m["units/s"]
        out += f"| Tavimor / MQTT | {ratio:.1f}x | | >= 50x: {met(ratio >= CLIENT_OVER_MQTT)} |\n"
    return out + "\n"


def value_section(runs):
    out = "## 3. Value path\n\n"
    out += ("One `harq::SensorItem::setValue` that flips a sensor's state (alarm and clear in turn) through "
            "sensor, deck, two regions, a reaction region and a mark sensor graphic with its opacity animation, "
            "in a scene without a view (no painting). CPU time per call.\n\n")
    out += "| Update | ns per update | Target |\n|---|---|---|\n"
    for name, label, target in (("BM_StateFlip", "state flip, model and graphics", True),
                                ("BM_StateFlipWithoutAnimation", "state flip, graphics without the alarm animation (reference)", False),
                                ("BM_StateFlipOnBlinkClock", "state flip, shared blink clock (`BlinkAnimation`)", True),
                                ("BM_StateFlipModelOnly", "state flip, model only (reference)", False),
                                ("BM_ValueWithoutFlip", "new value, no flip (reference)", False),
                                ("BM_StateFlipOnFullDeck", "state flip, model only, on the display's 2,000-sensor deck (reference)", False)):
        r = runs.get(name)
        if not r:
            out += missing(label)
            continue
        verdict = f"<= {FLIP_NS} ns: {met(ns(r) <= FLIP_NS)}" if target else ""
        out += f"| {label} | {ns(r):,.0f} | {verdict} |\n"
    out += ("\nDispatch of one received record (a value that flips nothing) to the items that follow its name, "
            "through `harq::SensorItemIndex` versus offering it to every item, by ship size.\n\n")
    out += "| Items | Index, ns | Every item, ns | Every item / index |\n|---|---|---|---|\n"
    for items in (500, 5000, 50000):
        i, a = runs.get(f"BM_DispatchThroughIndex/{items}"), runs.get(f"BM_DispatchToEveryItem/{items}")
        if not i or not a:
            out += missing(str(items))
            continue
        out += f"| {items:,} | {ns(i):,.0f} | {ns(a):,.0f} | {ns(a) / ns(i):,.0f}x |\n"
    small, large = runs.get("BM_DispatchThroughIndex/500"), runs.get("BM_DispatchThroughIndex/50000")
    if small and large:
        out += (f"\nIndex at 50,000 items / index at 500 items: {ns(large) / ns(small):.2f} "
                f"(independent of ship size: {met(ns(large) <= 2 * ns(small))}).\n")
    return out + "\n"


def blink_verdict(r, targets):
    ms, share, paints = targets
    ok = r["cpu_ms/paint"] <= ms and r["process_cpu_share"] <= share
    text = f"<= {ms} ms, <= {share:.0%} of a core"
    if paints:
        ok = ok and r["paints/s"] >= paints
        text += f", {paints:.0f} paints/s"
    return f"{text}: {met(ok)}"


def display_section(runs, station):
    out = "## 4. Display\n\n"
    out += ("A `DeckViewComplex` of 1920x1080 on `QT_QPA_PLATFORM=offscreen`, shown, with the event loop "
            "running for 3 s: paints are the ones the view asks for itself (partial, of the regions that "
            "changed), counted in its paint event with their thread CPU time. The deck: the sample main deck's "
            "drawing enlarged four times, 2,000 sensors (mark sensor graphics with icon and label, opacity "
            "animation) and 300 compartments (reaction regions). Reference: a forced repaint of the whole "
            "viewport, in the same run. Pan and zoom steps are wheel events at the view's centre with 20 "
            "sensors blinking (a pan zoomed in four times, of one and of three notches: 15 and 45 view pixels; "
            "a zoom of one notch, 1.2 times, four in and four out); the step's CPU covers the event and the "
            "paint it asks for.\n\n")
    out += ("| Case | Paints/s | CPU ms per paint (or step) | Process CPU share | Full repaint, CPU ms | Target |\n"
            "|---|---|---|---|---|---|\n")
    full = runs.get("BM_FullRepaint/20")
    ref = f"{full['cpu_ms/paint']:.1f}" if full else "-"
    for blinking, targets in BLINK_TARGETS.items():
        r = find(runs, f"BM_PaintWhileBlinking/{blinking}")
        f = runs.get(f"BM_FullRepaint/{blinking}")
        if not r:
            out += missing(f"{blinking} blinking")
            continue
        out += (f"| {blinking:,} sensors blinking | {r['paints/s']:.1f} | {r['cpu_ms/paint']:.2f} | "
                f"{r['process_cpu_share']:.2f} | {f['cpu_ms/paint'] if f else float('nan'):.1f} | "
                f"{blink_verdict(r, targets)} |\n")
    for name, label, limit in (("BM_PanStep/1", "pan step, 15 px", PAN_STEP_MS),
                               ("BM_PanStep/3", "pan step, 45 px", PAN_STEP_MS),
                               ("BM_ZoomStep", "zoom step, 1.2x", ZOOM_STEP_MS)):
        r = find(runs, name)
        if not r:
            out += missing(label)
            continue
        out += (f"| {label} | - | {r['cpu_ms/step']:.2f} | - | {ref} | "
                f"<= {limit} ms: {met(r['cpu_ms/step'] <= limit)} |\n")
    r = find(runs, "BM_PaintWhileNothingChanges")
    if r:
        out += (f"| nothing changing | {r['paints/s']:.1f} | - | {r['process_cpu_share']:.4f} | - | "
                f"0 paints: {met(r['paints/s'] == 0)} |\n")
    f = runs.get("BM_FullRepaint/0")
    if f:
        out += (f"| reference: full repaint, nothing blinking | - | {f['cpu_ms/paint']:.1f} | - | - | "
                f"<= {FULL_REPAINT_MS} ms: {met(f['cpu_ms/paint'] <= FULL_REPAINT_MS)} |\n")
    full = runs.get("BM_FullRepaintStation/0")
    zoom = find(runs, "BM_ZoomStepStation")
    if full and zoom:
        out += ("\nAs the station sets its view: the zoom preview on, and labels whose line would be under 6 "
                "pixels left out (`SensorConfig::setMinimumLabelSize`; at the fitted scale of this deck none "
                "reaches it):\n\n"
                "| Case | CPU ms | Target |\n|---|---|---|\n"
                f"| full repaint, nothing blinking | {full['cpu_ms/paint']:.1f} | "
                f"<= {FULL_REPAINT_MS} ms: {met(full['cpu_ms/paint'] <= FULL_REPAINT_MS)} |\n"
                f"| zoom step, 1.2x | {zoom['cpu_ms/step']:.2f} | "
                f"<= {ZOOM_STEP_MS} ms: {met(zoom['cpu_ms/step'] <= ZOOM_STEP_MS)} |\n"
                f"| the render at the new scale once the wheel pauses | {zoom['cpu_ms/render']:.2f} | "
                f"<= {ZOOM_STEP_MS} ms: {met(zoom['cpu_ms/render'] <= ZOOM_STEP_MS)} |\n")
    else:
        out += missing("the station's settings")
    if station:
        out += (f"\nThe example station (`kelvane-station`, offscreen) with `tavimor-dataserver` playing "
                f"`examples/ship/scenario.json`, over {station['seconds']:.0f} s after a 5 s start: station "
                f"{station['station_cpu_share']:.1%} of a core, data server {station['server_cpu_share']:.1%}.\n")
    out += ("\nVariants set by the benchmark on the existing items and view, for comparison: a device pixmap "
            "cache on the labels or on the deck drawing (the library's drawing keeps its own pixels, see the "
            "notes below), and other viewport update modes than the minimal one:\n\n")
    out += "| Case | Paints/s | CPU ms per paint | Process CPU share |\n|---|---|---|---|\n"
    for blinking in (20, 1000):
        for bits, label in ((4, "shared blink clock (`BlinkAnimation`)"), (1, "labels cached"), (2, "deck drawing cached")):
            r = find(runs, f"BM_PaintWhileBlinkingCached/{blinking}/{bits}")
            if r:
                out += (f"| {blinking:,} blinking, {label} | {r['paints/s']:.1f} | {r['cpu_ms/paint']:.1f} | "
                        f"{r['process_cpu_share']:.2f} |\n")
        for mode, label in ((2, "smart viewport update"), (4, "bounding-rectangle viewport update")):
            r = find(runs, f"BM_PaintWhileBlinkingUpdateMode/{blinking}/{mode}")
            if r:
                out += (f"| {blinking:,} blinking, {label} | {r['paints/s']:.1f} | {r['cpu_ms/paint']:.1f} | "
                        f"{r['process_cpu_share']:.2f} |\n")
    if os.path.exists(DISPLAY_NOTES):
        with open(DISPLAY_NOTES) as notes:
            out += "\n" + notes.read().rstrip() + "\n"
    return out + "\n"


def load_station(results):
    path = os.path.join(results, "station.json")
    if not os.path.exists(path):
        return None
    with open(path) as f:
        return json.load(f)


def startup_section(runs):
    out = "## 5. Start-up\n\n"
    out += ("Loading the sample configuration (region, sensor and damage styles), building the model of the "
            "2,000-sensor, 300-compartment deck and showing it on a `DeckScene` with its layers and graphics. "
            "CPU time and wall time per start-up; the wall time includes waiting for the shared cores.\n\n")
    out += "| Step | CPU ms | Wall ms | Target |\n|---|---|---|---|\n"
    for name, label, target in (("BM_StartUp/1", "whole start-up, every sensor offered to every compartment", True),
                                ("BM_StartUp/0", "whole start-up, sensors offered to the compartments whose bounds hold them", True),
                                ("BM_LoadStyles", "load the styles", False),
                                ("BM_BuildModel/1", "build the model, offer to all", False),
                                ("BM_BuildModel/0", "build the model, offer to holders", False),
                                ("BM_BuildScene", "build the scene", False)):
        r = runs.get(name)
        if not r:
            out += missing(label)
            continue
        verdict = f"<= 300 ms: {met(ns(r) / 1e6 <= STARTUP_MS)}" if target else ""
        out += f"| {label} | {ns(r) / 1e6:,.1f} | {ns(r, 'real_time') / 1e6:,.1f} | {verdict} |\n"
    return out + "\n"


def flood_section(runs):
    out = "## 6. Station under an alarm flood\n\n"
    out += ("`kelvane-station`'s session (window, history, shared incident state) in the benchmark process, "
            "1920x1080 offscreen, on the sample ship with each sensor four times over (1,316 state items), "
            "against `tavimor-dataserver` on 127.0.0.1. Burst: a second connection writes 1,000 alarms at once "
            "while the station is live. Link back: the server restarts, 1,000 alarms are written to it, and the "
            "station's link comes back to them standing. CPU of the process from the burst until the list has "
            "painted all 1,000 rows and 2 s after; that above what the station costs anyway (until the alarms "
            "arrive, or the link returns, the idle share measured over 1 s before; from then on the steady share "
            "of the blinking that follows, measured over the next 2 s); and from the arrival until the rows were "
            "painted, nothing taken off. Rows painted after, the longest pause between two paints of the window "
            "and of the event loop (a 5 ms timer) count from the arrival.\n\n")
    out += ("| Case | Rows painted after | CPU s | CPU s above idle and steady | CPU s until painted | "
            "Idle / steady CPU share | Longest paint gap | Longest stall | Target |\n"
            "|---|---|---|---|---|---|---|---|---|\n")
    for name, label in (("BM_StationAlarmBurst", "1,000 alarms at once"),
                        ("BM_StationLinkReturnsToStandingAlarms", "link back to 1,000 standing alarms")):
        r = find(runs, name)
        if not r or "error_occurred" in r:
            out += f"| {label} | not measured (run failed or skipped) | | | | | | | |\n"
            continue
        ok = r["cpu_s_above_steady"] <= FLOOD_CPU_S and r["longest_paint_gap_ms"] <= FLOOD_GAP_MS
        out += (f"| {label} | {r['listed_after_ms']:.0f} ms | {r['cpu_s']:.2f} | {r['cpu_s_above_steady']:.2f} | "
                f"{r['cpu_s_until_shown']:.2f} | {r['idle_cpu_share']:.2f} / {r['steady_cpu_share']:.2f} | "
                f"{r['longest_paint_gap_ms']:.0f} ms | {r['longest_stall_ms']:.0f} ms | "
                f"<= {FLOOD_CPU_S} s, no gap over {FLOOD_GAP_MS} ms: {met(ok)} |\n")
    return out + "\n"


def machine(results, context):
    lines = []
    path = os.path.join(results, "lscpu.txt")
    if os.path.exists(path):
        keep = ("Architecture", "Model name", "CPU(s)", "Thread(s) per core", "Core(s) per socket",
                "Hypervisor vendor", "L1d cache", "L2 cache", "L3 cache", "CPU max MHz")
        with open(path) as f:
            for line in f:
                key = line.split(":")[0].strip()
                if key in keep:
                    lines.append("    " + line.rstrip())
    load = context.get("load_avg")
    if load:
        lines.append(f"    Load average at start: {', '.join(f'{x:.2f}' for x in load)}")
    return "\n".join(lines)


def main():
    if sys.argv[1] == "--section" and sys.argv[2] == "display":
        _, display = load(sys.argv[3], "bench_display")
        sys.stdout.write(display_section(display, load_station(sys.argv[3])))
        return
    if sys.argv[1] == "--section" and sys.argv[2] == "flood":
        _, flood = load(sys.argv[3], "bench_station")
        sys.stdout.write(flood_section(flood))
        return
    results, output = sys.argv[1], sys.argv[2]
    context, parser = load(results, "bench_parser")
    _, client = load(results, "bench_client")
    _, value = load(results, "bench_value_path")
    _, display = load(results, "bench_display")
    _, startup = load(results, "bench_startup")
    _, flood = load(results, "bench_station")
    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    doc = "# Performance\n\n"
    doc += (f"Generated by `scripts/bench` on {now} (Release build, Google Benchmark). Every figure stands "
            "beside its reference measured in the same run; where a benchmark was repeated, the median of the "
            "repetitions is shown. The machine may be shared (its load average at the start is given below): "
            "wall-clock figures then fall behind an idle machine's, so CPU-time figures are the ones to compare "
            "with the targets.\n\n")
    doc += "Machine:\n\n" + machine(results, context or {}) + "\n\n"
    doc += parser_section(parser)
    doc += client_section(client)
    doc += value_section(value)
    doc += display_section(display, load_station(results))
    doc += startup_section(startup)
    doc += flood_section(flood)
    with open(LATER_NOTES) as f:
        doc += "\n" + f.read()
    with open(output, "w") as f:
        f.write(doc)


if __name__ == "__main__":
    main()
