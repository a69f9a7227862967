-- Damage colours of compartments. Combined damage (fire and flooding in the same
-- compartment) is shown in a blend of the single colours, named "火灾+进水".

damage = {
    showtime = 500, -- milliseconds shown
    hidetime = 200, -- milliseconds hidden
    opacity = 0.3,
    response = {
        { type = 1, name = "火灾", color = "#FF0000" },
        { type = 2, name = "进水", color = "#0000FF" },
        { type = 4, name = "弃船", color = "#FFA500" },
    },
}
