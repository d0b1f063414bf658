// Keyboard layouts of the thread: US English and Russian. A physical key (scan code) gives a
// virtual key by its position, and the active layout gives the character; under the Russian
// layout the letter keys type Cyrillic by position (JCUKEN), whatever the host's own layout.
#pragma once

#include <string_view>

#include "platform/win/Types.h"

namespace win {

struct HKL__;
using HKL = HKL__*;  // language id in the low word, layout id in the high word

constexpr UINT KLF_ACTIVATE = 0x00000001;
constexpr UINT KLF_SETFORPROCESS = 0x00000100;
inline const HKL HKL_PREV = reinterpret_cast<HKL>(0);  // the layout loaded before the active one
inline const HKL HKL_NEXT = reinterpret_cast<HKL>(1);  // the layout loaded after the active one

// Loads a layout by its identifier ("00000409" US, "00000419" Russian); with KLF_ACTIVATE it
// becomes active. Returns nullptr for a layout that does not exist here.
HKL LoadKeyboardLayoutW(std::u16string_view id, UINT flags);
// Makes a loaded layout active (or the next / previous one); returns the previous layout,
// nullptr when hkl is not loaded. The focus window receives WM_INPUTLANGCHANGE.
HKL ActivateKeyboardLayout(HKL hkl, UINT flags);
HKL GetKeyboardLayout(DWORD threadId);  // the active layout (one thread)

// State of a virtual key: bit 0x8000 down, bit 1 toggled (Caps Lock).
short GetKeyState(int vk);
short GetAsyncKeyState(int vk);  // only the down bit

// Map types of MapVirtualKeyW.
constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
UINT MapVirtualKeyW(UINT code, UINT mapType);  // MAPVK_*; 0 when there is no mapping
// The characters a key types under the active layout with the given key state (256 bytes as
// GetKeyState's low bytes); 0 when the key types nothing.
char16_t CharFromKey(UINT vk, const BYTE* keyState);

}  // namespace win
