// The skin engine's private window message: SM_ALPHACMD carries a sub-command (AC_*) in the
// high word of WParam, a small argument in the low word, and the sub-command's argument in
// LParam (the announcing manager, or a pointer to one of the records below). A window that
// does not know the message answers 0, which every sender reads as "no answer".
#pragma once

#include <cstdint>
#include <string>

#include "framework/Colors.h"
#include "framework/Component.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Geometry.h"
#include "platform/win/Types.h"
#include "skin/draw/sGraphUtils.h"

namespace skin::core {

using win::LPARAM;
using win::UINT;
using win::WPARAM;

// The message, in the range free for applications.
constexpr UINT SM_ALPHACMD = 0xA100;
// Menu painting.
constexpr UINT WM_DRAWMENUBORDER = 48307;
constexpr UINT WM_DRAWMENUBORDER2 = 48308;

// Sub-commands (WParam's high word). Codes 39, 41 to 50 and 55 to 59 are unassigned.
constexpr UINT AC_SETNEWSKIN = 1;       // LParam: the manager; a new skin is active
constexpr UINT AC_REMOVESKIN = 2;       // LParam: the manager; skinning is off
constexpr UINT AC_REFRESH = 3;          // LParam: the manager; repaint from the skin
constexpr UINT AC_GETPROVIDER = 4;      // to a form: its skin provider, 0 when none
constexpr UINT AC_GETCACHE = 5;         // a form provider brings its cache up to date
constexpr UINT AC_ENDPARENTUPDATE = 6;  // the parent finished updating
constexpr UINT AC_CTRLHANDLED = 7;      // answers 1 when the control is skinned
constexpr UINT AC_UPDATING = 8;         // WParamLo 1: painting suspended, 0: resumed
constexpr UINT AC_GETDEFINDEX = 9;      // the default section's index + 1, 0 when none
constexpr UINT AC_PREPARING = 10;       // 1 while the control prepares its cache
constexpr UINT AC_GETHALFVISIBLE = 11;
constexpr UINT AC_GETLISTSW = 12;
constexpr UINT AC_UPDATESECTION = 13;  // LParam: const char*, an upper-case section name
constexpr UINT AC_DROPPEDDOWN = 14;
constexpr UINT AC_SETSECTION = 15;  // LParam: std::string*, the new section
constexpr UINT AC_STOPFADING = 16;  // LParam: the manager; stop animations
constexpr UINT AC_SETBGCHANGED = 17;
constexpr UINT AC_INVALIDATE = 18;
constexpr UINT AC_CHILDCHANGED = 19;
constexpr UINT AC_SETCHANGEDIFNECESSARY = 20;
constexpr UINT AC_GETCONTROLCOLOR = 21;  // the colour a child sees behind it
constexpr UINT AC_SETHALFVISIBLE = 22;
constexpr UINT AC_PREPARECACHE = 23;
constexpr UINT AC_DRAWANIMAGE = 24;
constexpr UINT AC_CONTROLLOADED = 25;
constexpr UINT AC_GETSKININDEX = 26;  // LParam: TacSectionInfo*
constexpr UINT AC_GETSERVICEINT = 27;
constexpr UINT AC_UPDATECHILDREN = 28;
constexpr UINT AC_MOUSEENTER = 29;  // LParam: the manager
constexpr UINT AC_MOUSELEAVE = 30;  // LParam: the manager
constexpr UINT AC_BEGINUPDATE = 31;
constexpr UINT AC_ENDUPDATE = 32;
constexpr UINT AC_CLEARCACHE = 33;
constexpr UINT AC_GETBG = 34;  // LParam: TacBGInfo*
constexpr UINT AC_GETDISKIND = 35;
constexpr UINT AC_FONTSCHANGED = 36;  // LParam: the manager
constexpr UINT AC_GETSKINDATA = 37;   // the control's skin data
constexpr UINT AC_PRINTING = 38;      // LParam: the DC printed into, 0 when done
constexpr UINT AC_PAINTOUTER = 40;    // LParam: TacBGInfo*
constexpr UINT AC_BEFORESCROLL = 51;  // LParam: two 16-bit values
constexpr UINT AC_AFTERSCROLL = 52;   // LParam: two 16-bit values
constexpr UINT AC_REINITSCROLLS = 53;
constexpr UINT AC_GETCOLORTONE = 54;  // answer: a colour tone, kNoColorTone for none
constexpr std::uint32_t kNoColorTone = 0x1FFFFFFF;
constexpr UINT AC_GETAPPLICATION = 60;
constexpr UINT AC_PARENTCLOFFSET = 61;
constexpr UINT AC_NCPAINT = 62;
constexpr UINT AC_SETPOSCHANGING = 63;  // LParam: 1 or 0
constexpr UINT AC_GETPOSCHANGING = 64;
constexpr UINT AC_SETALPHA = 65;      // LParam: alpha 0 to 255
constexpr UINT AC_GETFONTINDEX = 66;  // LParam: TacPaintInfo*
constexpr UINT AC_GETBORDERWIDTH = 67;
constexpr UINT AC_SETSCALE = 68;  // LParam: the scale in percent
constexpr UINT AC_GETSCALE = 69;
constexpr UINT AC_GETOUTRGN = 70;  // LParam: gfx::TRect*, filled with the bounds
constexpr UINT AC_COPYDATA = 71;
constexpr UINT AC_POPUPCLOSED = 72;
constexpr UINT AC_UPDATESHADOW = 73;
constexpr UINT AC_SKINCHANGED = 74;      // posted, LParam 0
constexpr UINT AC_SKINLISTCHANGED = 75;  // LParam 0
constexpr UINT AC_PAINTFLOATITEMS = 76;  // LParam: a bitmap
constexpr UINT AC_UPDATEFLOATITEMS = 77;
constexpr UINT AC_UPDATEITEMSALPHA = 78;
constexpr UINT AC_UPDATEPAGEBTN = 78;  // the same code under a second name
constexpr UINT AC_GETTOPWND = 79;
constexpr UINT AC_SETFLOATZORDER = 80;
constexpr UINT AC_UPDATEFLOATBITMAPS = 81;
constexpr UINT AC_KILLTIMERS = 82;
constexpr UINT AC_SETNCSKINNED = 83;
constexpr UINT AC_REFLECTLAYOUT = 84;
constexpr UINT AC_ISOPAQUE = 85;

// The WParam that carries a sub-command with WParamLo 0, and its two halves.
constexpr WPARAM MakeAlphaCmd(UINT cmd, UINT lo = 0) {
  return WPARAM(cmd) << 16 | (lo & 0xFFFF);
}
constexpr UINT WParamHi(WPARAM w) {
  return UINT(w >> 16) & 0xFFFF;
}
constexpr UINT WParamLo(WPARAM w) {
  return UINT(w) & 0xFFFF;
}

// The most used sub-commands ready as WParam.
constexpr WPARAM AC_SETNEWSKIN_HI = MakeAlphaCmd(AC_SETNEWSKIN);
constexpr WPARAM AC_REMOVESKIN_HI = MakeAlphaCmd(AC_REMOVESKIN);
constexpr WPARAM AC_REFRESH_HI = MakeAlphaCmd(AC_REFRESH);
constexpr WPARAM AC_GETPROVIDER_HI = MakeAlphaCmd(AC_GETPROVIDER);
constexpr WPARAM AC_ENDPARENTUPDATE_HI = MakeAlphaCmd(AC_ENDPARENTUPDATE);
constexpr WPARAM AC_CTRLHANDLED_HI = MakeAlphaCmd(AC_CTRLHANDLED);
constexpr WPARAM AC_UPDATING_HI = MakeAlphaCmd(AC_UPDATING);
constexpr WPARAM AC_GETDEFINDEX_HI = MakeAlphaCmd(AC_GETDEFINDEX);
constexpr WPARAM AC_STOPFADING_HI = MakeAlphaCmd(AC_STOPFADING);
constexpr WPARAM AC_SETBGCHANGED_HI = MakeAlphaCmd(AC_SETBGCHANGED);
constexpr WPARAM AC_GETCONTROLCOLOR_HI = MakeAlphaCmd(AC_GETCONTROLCOLOR);
constexpr WPARAM AC_PREPARECACHE_HI = MakeAlphaCmd(AC_PREPARECACHE);
constexpr WPARAM AC_GETSERVICEINT_HI = MakeAlphaCmd(AC_GETSERVICEINT);
constexpr WPARAM AC_MOUSELEAVE_HI = MakeAlphaCmd(AC_MOUSELEAVE);
constexpr WPARAM AC_BEGINUPDATE_HI = MakeAlphaCmd(AC_BEGINUPDATE);
constexpr WPARAM AC_ENDUPDATE_HI = MakeAlphaCmd(AC_ENDUPDATE);
constexpr WPARAM AC_CLEARCACHE_HI = MakeAlphaCmd(AC_CLEARCACHE);
constexpr WPARAM AC_GETBG_HI = MakeAlphaCmd(AC_GETBG);
constexpr WPARAM AC_GETSKINDATA_HI = MakeAlphaCmd(AC_GETSKINDATA);
constexpr WPARAM AC_PAINTOUTER_HI = MakeAlphaCmd(AC_PAINTOUTER);
constexpr WPARAM AC_GETFONTINDEX_HI = MakeAlphaCmd(AC_GETFONTINDEX);
constexpr WPARAM AC_SETSCALE_HI = MakeAlphaCmd(AC_SETSCALE);

// AC_GETSKININDEX: the section a control is painted from.
struct TacSectionInfo {
  std::string siName;
  int siSkinIndex = -1;
  bool siRepaintNeeded = false;
};

// AC_GETFONTINDEX: the section whose font colour a text in State takes. SkinManager null
// means the default manager.
struct TacPaintInfo {
  int State = 0;
  int FontIndex = -1;
  gfx::TRect R;
  fw::TComponent* SkinManager = nullptr;
};

// What a parent answers to AC_GETBG about the background behind a child; painting shares it.
using skin::draw::TacBGInfo;
using skin::draw::TacBGType;

}  // namespace skin::core
