// Lead-byte tests of code pages that the tests use.
#pragma once

// Shift-JIS: 0x81..0x9F and 0xE0..0xFC start two-byte characters, whose second byte may be
// 0x5C, the backslash code.
inline bool IsShiftJisLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
