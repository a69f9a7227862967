-- Styles of the deck graphics tests: one file serves the sensor, region and damage readers.
sensor = {
    width = 40,
    opacity = 0.6,
    text_color = "#000080",
    view_group = {
        { name = "火警", group = "fire", response = 1 },
    },
    state = { "#FF0000", "#FFFF00", "#FF00FF", "#808000" },
}

region = {
    hover_color = "#0000FF",
    hover_opacity = 0.3,
}

damage = {
    response = {
        { type = 1, name = "火灾", color = "#FF0000" },
        { type = 2, name = "进水", color = "#00FF00" },
    },
}
