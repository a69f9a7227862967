-- Damage-control teams that can be placed on a deck, with how many of each exist.

team = {
    width = 60.0,
    opacity = 0.8,
    member = {
        { name = "消防队", icon = "team_fire.svg",     count = 3 },
        { name = "堵漏队", icon = "team_leak.svg",     count = 2 },
        { name = "排水队", icon = "team_drain.svg",    count = 2 },
        { name = "救护队", icon = "team_medical.svg",  count = 1 },
    },
}
