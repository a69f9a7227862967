-- Free markers an operator can drop on the deck plan.

tag = {
    width = 50.0,
    opacity = 0.8,
    member = {
        { name = "起火点",   icon = "tag_fire.svg" },
        { name = "进水点",   icon = "tag_leak.svg" },
        { name = "人员被困", icon = "tag_trapped.svg" },
        { name = "已隔离",   icon = "tag_isolated.svg" },
    },
}
