-- Compartment style and the ten region types of the example ship.
-- The position of an entry in view_group is its region type number
-- (first entry = type 0); ship.json refers to compartments by these numbers.

region = {
    hover_opacity = 0.3,
    hover_color = "#00FFFF",
    view_group = {
        -- response bits: 1 fire, 2 flooding, 4 abandon ship
        { name = "通道",     icon = "region_passage.svg",     response = 3 }, -- 0
        { name = "舱室",     icon = "region_cabin.svg",       response = 7 }, -- 1
        { name = "机舱",     icon = "region_engine.svg",      response = 3 }, -- 2
        { name = "弹药舱",   icon = "region_magazine.svg",    response = 3 }, -- 3
        { name = "油舱",     icon = "region_fuel.svg",        response = 3 }, -- 4
        { name = "压载水舱", icon = "region_ballast.svg",     response = 2 }, -- 5
        { name = "配电间",   icon = "region_switchboard.svg", response = 1 }, -- 6
        { name = "驾驶室",   icon = "region_bridge.svg",      response = 5 }, -- 7
        { name = "集合站",   icon = "region_muster.svg",      response = 4 }, -- 8
        { name = "梯道",     icon = "region_stair.svg",       response = 3 }, -- 9
    },
}

-- Pens of the outline editor: the line being drawn and the segments already traced
-- (traced segments are drawn half as wide).
scene = {
    color = "#0000FF",
    trace = "#FF0000",
    width = 4.0,
}
