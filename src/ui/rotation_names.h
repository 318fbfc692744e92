// Texts of the rotation combo box, indexed by rotation code (0 none, 1 counterclockwise,
// 2 clockwise, 3 half turn); the dialog fills the combo from them at start-up.
#pragma once

inline constexpr const char* kRotationNames[4] = {
    "No Rotation",
    "Counterclockwise",
    "Clockwise",
    "180 Degrees",
};
