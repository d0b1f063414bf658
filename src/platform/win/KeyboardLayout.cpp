#include "platform/win/KeyboardLayout.h"

#include <array>
#include <vector>

#include "platform/win/Keys.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

const HKL kUS = reinterpret_cast<HKL>(std::uintptr_t(0x04090409));
const HKL kRussian = reinterpret_cast<HKL>(std::uintptr_t(0x04190419));

struct LayoutState {
  std::vector<HKL> loaded{kUS};
  HKL active = kUS;
};
LayoutState& Layouts() {
  static LayoutState state;
  return state;
}

// Set-1 scan codes 0x00..0x58 to virtual keys by position (the same for both layouts: the
// Russian layout keeps the US virtual keys and differs only in the characters).
constexpr std::array<BYTE, 0x59> kScanToVk = {0,
                                              VK_ESCAPE,
                                              '1',
                                              '2',
                                              '3',
                                              '4',
                                              '5',
                                              '6',
                                              '7',
                                              '8',
                                              '9',
                                              '0',
                                              VK_OEM_MINUS,
                                              VK_OEM_PLUS,
                                              VK_BACK,
                                              VK_TAB,
                                              'Q',
                                              'W',
                                              'E',
                                              'R',
                                              'T',
                                              'Y',
                                              'U',
                                              'I',
                                              'O',
                                              'P',
                                              VK_OEM_4,
                                              VK_OEM_6,
                                              VK_RETURN,
                                              VK_LCONTROL,
                                              'A',
                                              'S',
                                              'D',
                                              'F',
                                              'G',
                                              'H',
                                              'J',
                                              'K',
                                              'L',
                                              VK_OEM_1,
                                              VK_OEM_7,
                                              VK_OEM_3,
                                              VK_LSHIFT,
                                              VK_OEM_5,
                                              'Z',
                                              'X',
                                              'C',
                                              'V',
                                              'B',
                                              'N',
                                              'M',
                                              VK_OEM_COMMA,
                                              VK_OEM_PERIOD,
                                              VK_OEM_2,
                                              VK_RSHIFT,
                                              VK_MULTIPLY,
                                              VK_LMENU,
                                              VK_SPACE,
                                              VK_CAPITAL,
                                              VK_F1,
                                              VK_F1 + 1,
                                              VK_F1 + 2,
                                              VK_F1 + 3,
                                              VK_F1 + 4,
                                              VK_F1 + 5,
                                              VK_F1 + 6,
                                              VK_F1 + 7,
                                              VK_F1 + 8,
                                              VK_F1 + 9,
                                              VK_NUMLOCK,
                                              VK_SCROLL,
                                              VK_NUMPAD0 + 7,
                                              VK_NUMPAD0 + 8,
                                              VK_NUMPAD0 + 9,
                                              VK_SUBTRACT,
                                              VK_NUMPAD0 + 4,
                                              VK_NUMPAD0 + 5,
                                              VK_NUMPAD0 + 6,
                                              VK_ADD,
                                              VK_NUMPAD0 + 1,
                                              VK_NUMPAD0 + 2,
                                              VK_NUMPAD0 + 3,
                                              VK_NUMPAD0,
                                              VK_DECIMAL,
                                              0,
                                              0,
                                              VK_OEM_102,
                                              VK_F1 + 10,
                                              VK_F1 + 11};

struct Extended {
  BYTE scan;
  BYTE vk;
};
constexpr std::array<Extended, 17> kExtendedToVk = {{
    {0x1C, VK_RETURN},
    {0x1D, VK_RCONTROL},
    {0x35, VK_DIVIDE},
    {0x38, VK_RMENU},
    {0x47, VK_HOME},
    {0x48, VK_UP},
    {0x49, VK_PRIOR},
    {0x4B, VK_LEFT},
    {0x4D, VK_RIGHT},
    {0x4F, VK_END},
    {0x50, VK_DOWN},
    {0x51, VK_NEXT},
    {0x52, VK_INSERT},
    {0x53, VK_DELETE},
    {0x5B, VK_LWIN},
    {0x5C, VK_RWIN},
    {0x5D, VK_APPS},
}};

// Characters of one key: unshifted and shifted; letters follow Caps Lock.
struct KeyChars {
  UINT vk;
  char16_t normal;
  char16_t shifted;
  bool letter;
};

constexpr std::array<KeyChars, 21> kUsPunctuation = {{
    {'1', u'1', u'!', false},          {'2', u'2', u'@', false},
    {'3', u'3', u'#', false},          {'4', u'4', u'$', false},
    {'5', u'5', u'%', false},          {'6', u'6', u'^', false},
    {'7', u'7', u'&', false},          {'8', u'8', u'*', false},
    {'9', u'9', u'(', false},          {'0', u'0', u')', false},
    {VK_OEM_MINUS, u'-', u'_', false}, {VK_OEM_PLUS, u'=', u'+', false},
    {VK_OEM_4, u'[', u'{', false},     {VK_OEM_6, u']', u'}', false},
    {VK_OEM_1, u';', u':', false},     {VK_OEM_7, u'\'', u'"', false},
    {VK_OEM_3, u'`', u'~', false},     {VK_OEM_5, u'\\', u'|', false},
    {VK_OEM_COMMA, u',', u'<', false}, {VK_OEM_PERIOD, u'.', u'>', false},
    {VK_OEM_2, u'/', u'?', false},
}};

// The Russian (JCUKEN) layout by key position.
constexpr std::array<KeyChars, 54> kRussian_ = {{
    {'Q', u'й', u'Й', true},           {'W', u'ц', u'Ц', true},
    {'E', u'у', u'У', true},           {'R', u'к', u'К', true},
    {'T', u'е', u'Е', true},           {'Y', u'н', u'Н', true},
    {'U', u'г', u'Г', true},           {'I', u'ш', u'Ш', true},
    {'O', u'щ', u'Щ', true},           {'P', u'з', u'З', true},
    {VK_OEM_4, u'х', u'Х', true},      {VK_OEM_6, u'ъ', u'Ъ', true},
    {'A', u'ф', u'Ф', true},           {'S', u'ы', u'Ы', true},
    {'D', u'в', u'В', true},           {'F', u'а', u'А', true},
    {'G', u'п', u'П', true},           {'H', u'р', u'Р', true},
    {'J', u'о', u'О', true},           {'K', u'л', u'Л', true},
    {'L', u'д', u'Д', true},           {VK_OEM_1, u'ж', u'Ж', true},
    {VK_OEM_7, u'э', u'Э', true},      {'Z', u'я', u'Я', true},
    {'X', u'ч', u'Ч', true},           {'C', u'с', u'С', true},
    {'V', u'м', u'М', true},           {'B', u'и', u'И', true},
    {'N', u'т', u'Т', true},           {'M', u'ь', u'Ь', true},
    {VK_OEM_COMMA, u'б', u'Б', true},  {VK_OEM_PERIOD, u'ю', u'Ю', true},
    {VK_OEM_3, u'ё', u'Ё', true},      {VK_OEM_2, u'.', u',', false},
    {'1', u'1', u'!', false},          {'2', u'2', u'"', false},
    {'3', u'3', u'№', false},          {'4', u'4', u';', false},
    {'5', u'5', u'%', false},          {'6', u'6', u':', false},
    {'7', u'7', u'?', false},          {'8', u'8', u'*', false},
    {'9', u'9', u'(', false},          {'0', u'0', u')', false},
    {VK_OEM_MINUS, u'-', u'_', false}, {VK_OEM_PLUS, u'=', u'+', false},
    {VK_OEM_5, u'\\', u'/', false},    {VK_OEM_102, u'\\', u'/', false},
    {VK_SPACE, u' ', u' ', false},     {VK_MULTIPLY, u'*', u'*', false},
    {VK_ADD, u'+', u'+', false},       {VK_SUBTRACT, u'-', u'-', false},
    {VK_DIVIDE, u'/', u'/', false},    {VK_DECIMAL, u',', u',', false},
}};

template <std::size_t N>
const KeyChars* FindKey(const std::array<KeyChars, N>& table, UINT vk) {
  for (const KeyChars& k : table)
    if (k.vk == vk) return &k;
  return nullptr;
}

char16_t Pick(const KeyChars& k, bool shift, bool caps) {
  return (k.letter && caps) != shift ? k.shifted : k.normal;
}

// Characters every layout shares: control keys, the keypad, and Ctrl combinations.
char16_t CommonChar(UINT vk, bool ctrl) {
  switch (vk) {
    case VK_BACK:
      return ctrl ? 0x7F : 0x08;
    case VK_TAB:
      return ctrl ? 0 : 0x09;
    case VK_RETURN:
      return ctrl ? 0x0A : 0x0D;
    case VK_ESCAPE:
      return 0x1B;
    case VK_SPACE:
      return u' ';
    default:
      break;
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9 && !ctrl) return char16_t(u'0' + (vk - VK_NUMPAD0));
  return 0;
}

}  // namespace

HKL LoadKeyboardLayoutW(std::u16string_view id, UINT flags) {
  HKL hkl = id == u"00000409" ? kUS : id == u"00000419" ? kRussian : nullptr;
  if (!hkl) return nullptr;
  auto& loaded = Layouts().loaded;
  if (std::find(loaded.begin(), loaded.end(), hkl) == loaded.end()) loaded.push_back(hkl);
  if (flags & KLF_ACTIVATE) ActivateKeyboardLayout(hkl, 0);
  return hkl;
}

HKL ActivateKeyboardLayout(HKL hkl, UINT /*flags*/) {
  LayoutState& l = Layouts();
  auto it = std::find(l.loaded.begin(), l.loaded.end(), l.active);
  std::size_t index = std::size_t(it - l.loaded.begin());
  if (hkl == HKL_NEXT) {
    hkl = l.loaded[(index + 1) % l.loaded.size()];
  } else if (hkl == HKL_PREV) {
    hkl = l.loaded[(index + l.loaded.size() - 1) % l.loaded.size()];
  } else if (std::find(l.loaded.begin(), l.loaded.end(), hkl) == l.loaded.end()) {
    return nullptr;
  }
  HKL old = l.active;
  l.active = hkl;
  if (old != hkl && S().focus)
    Deliver(S().focus, WM_INPUTLANGCHANGE, 0, reinterpret_cast<LPARAM>(hkl));
  return old;
}

HKL GetKeyboardLayout(DWORD /*threadId*/) {
  return Layouts().active;
}

namespace detail {

void ResetKeyboardLayouts() {
  Layouts() = LayoutState{};
}

}  // namespace detail

short GetKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  BYTE k = S().keys[std::size_t(vk)];
  return short(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

short GetAsyncKeyState(int vk) {
  return short(GetKeyState(vk) & 0x8000);
}

UINT MapVirtualKeyW(UINT code, UINT mapType) {
  switch (mapType) {
    case MAPVK_VSC_TO_VK:
      if (code & 0xE000) {
        for (const Extended& e : kExtendedToVk)
          if (e.scan == (code & 0xFF)) return e.vk;
        return 0;
      }
      return code < kScanToVk.size() ? kScanToVk[code] : 0;
    case MAPVK_VK_TO_VSC:
      for (UINT s = 0; s < kScanToVk.size(); ++s)
        if (kScanToVk[s] == code) return s;
      for (const Extended& e : kExtendedToVk)
        if (e.vk == code) return 0xE000 | e.scan;
      return 0;
    case MAPVK_VK_TO_CHAR: {
      std::array<BYTE, 256> none{};
      return CharFromKey(code, none.data());
    }
    default:
      return 0;
  }
}

char16_t CharFromKey(UINT vk, const BYTE* keys) {
  bool shift = keys[VK_SHIFT] & 0x80;
  bool ctrl = keys[VK_CONTROL] & 0x80;
  bool alt = keys[VK_MENU] & 0x80;
  bool caps = keys[VK_CAPITAL] & 0x01;
  if (ctrl && alt) return 0;
  if (char16_t c = CommonChar(vk, ctrl)) return c;
  if (ctrl) {
    if (vk >= 'A' && vk <= 'Z') return char16_t(vk - 'A' + 1);
    if (vk == VK_OEM_4) return 0x1B;
    if (vk == VK_OEM_5) return 0x1C;
    if (vk == VK_OEM_6) return 0x1D;
    return 0;
  }
  if (Layouts().active == kRussian) {
    const KeyChars* k = FindKey(kRussian_, vk);
    return k ? Pick(*k, shift, caps) : 0;
  }
  if (vk >= 'A' && vk <= 'Z') return char16_t((shift != caps) ? vk : vk - 'A' + 'a');
  if (const KeyChars* k = FindKey(kUsPunctuation, vk)) return Pick(*k, shift, caps);
  switch (vk) {
    case VK_MULTIPLY:
      return u'*';
    case VK_ADD:
      return u'+';
    case VK_SUBTRACT:
      return u'-';
    case VK_DIVIDE:
      return u'/';
    case VK_DECIMAL:
      return u'.';
    default:
      return 0;
  }
}

}  // namespace win
