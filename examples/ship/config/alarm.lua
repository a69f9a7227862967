-- Alarm handling of the station: priorities, item names, silence and shelving.
-- Read by the example station only (docs/configuration.md, "Alarm priorities").
--
-- Priorities, most urgent first: "emergency", "alarm", "warning", "caution".
-- An item takes the priority of its exact tag, else of the longest matching tag
-- suffix, else of its sensor's view group (by the group's name in sensor.lua),
-- else default_priority.

alarm = {
    default_priority = "alarm",
    resound = 120,       -- seconds a silenced, unacknowledged alarm stays quiet
    shelve_limit = 480,  -- longest shelving, in minutes
    view_group = {
        { name = "弃船报警", priority = "emergency" },
        { name = "火灾探测", priority = "alarm" },
        { name = "进水监测", priority = "alarm", unit = "mm" },      -- bilge levels
        { name = "舱室环境", priority = "caution", unit = "°C" },  -- compartment temperatures
    },
    item = {
        -- names tell apart the items of one detector
        { suffix = ".SMK", name = "烟感" },
        { suffix = ".HT",  name = "温感" },
        { suffix = ".TMP", name = "温度", priority = "warning", unit = "°C" },
        { suffix = ".FLT", name = "传感器故障", priority = "caution" },
        { suffix = ".HI",  name = "高液位" },
        -- flooding of the fore peak threatens the ship itself
        { tag = "D2-FLD-003", name = "首尖舱进水", priority = "emergency" },
    },
}
