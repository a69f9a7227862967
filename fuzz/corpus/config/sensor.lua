-- Sensor icons and labels. Icon files live in ../icons/.

sensor = {
    width = 40.0,           -- icon width in deck drawing units
    text_color = "#000080", -- label colour
    opacity = 0.8,
    view_group = {
        -- group codes are what the sensor layer groups by; response bits as in region.lua
        { name = "火灾探测", group = "fire",        response = 1 },
        { name = "进水监测", group = "flooding",    response = 2 },
        { name = "弃船报警", group = "abandon",     response = 4 },
        { name = "舱室环境", group = "environment", response = 0 },
    },
    -- mark colour of an abnormal item, by the item's position in its sensor;
    -- positions past the end take the last colour
    state = { "#FF0000", "#FFA500", "#FF00FF", "#808000" },
}
