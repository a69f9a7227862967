-- Size of equipment markers. The pictures themselves are handed over by the host
-- (equip_extinguisher.svg, equip_pump.svg, equip_breathing.svg, equip_hose.svg in ../icons/).

equipment = {
    width = 40.0,
    opacity = 0.9,
}
