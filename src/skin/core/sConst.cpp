#include "skin/core/sConst.h"

#include "platform/win/SystemInfo.h"
#include "platform/win/SystemMetrics.h"

namespace skin::core {

int acWinVerOf(unsigned major, unsigned minor) {
  if (major > 6 || (major == 6 && minor >= 2)) return 8;
  return int(major);
}

namespace {

int ReadWinVer() {
  win::OSVERSIONINFOW info;
  return win::GetVersionExW(&info) ? acWinVerOf(info.dwMajorVersion, info.dwMinorVersion) : 0;
}

}  // namespace

int acWinVer = ReadWinVer();
int acScrollBtnLength = win::GetSystemMetrics(win::SM_CXHSCROLL);
int ac_CXSIZEFRAME = win::GetSystemMetrics(win::SM_CXSIZEFRAME);
int ac_CXFIXEDFRAME = win::GetSystemMetrics(win::SM_CXFIXEDFRAME);
int ac_CYCAPTION = win::GetSystemMetrics(win::SM_CYCAPTION);
int ac_CYSMCAPTION = win::GetSystemMetrics(win::SM_CYSMCAPTION);
int iDefIcoLineWidth = kDefIcoLineWidth;

std::u16string acs_MsgDlgOK = u"OK";
std::u16string acs_MsgDlgCancel = u"Отмена";
std::u16string acs_MsgDlgHelp = u"&Помощь";
std::u16string acs_CloseStr = u"Закрыть";
std::u16string acs_RestoreStr = u"Восстановить";
std::u16string acs_SizeStr = u"Размер";
std::u16string acs_MoveStr = u"Переместить";
std::u16string acs_MaximizeStr = u"Развернуть";
std::u16string acs_MinimizeStr = u"Свернуть";
std::u16string acs_ColorDlgAdd = u"Добавить в свой набор";
std::u16string acs_ColorDlgDefine = u"Определить цвета";
std::u16string acs_ColorDlgAddPal = u"Дополнительный набор цветов :";
std::u16string acs_ColorDlgDecimal = u"Десятичное - ";
std::u16string acs_Root = u"Root:";
std::u16string acs_Create = u"Создать";
std::u16string acs_FileOpen = u"Открытие файла";
std::u16string acs_SelectDir = u"Выбрать директорию";
std::u16string acs_ColorDlgRed = u"Красный :";
std::u16string acs_ColorDlgGreen = u"Зеленый :";
std::u16string acs_ColorDlgBlue = u"Синий :";
std::u16string acs_ColorDlgTitle = u"Цвет";
std::u16string acs_Font = u"Шрифт";
std::u16string acs_FontColor = u"Font color:";
std::u16string acs_Calculator = u"Calculator";
std::u16string acs_ColorDlgHex = u"Hex - ";
std::u16string acs_InvalidDate = u"Неверная дата";
std::u16string acs_AvailSkins = u"Доступные скины";
std::u16string acs_InternalSkin = u"(внутренний)";
std::u16string acs_DirWithSkins = u"Directory with skins:";
std::u16string acs_SelectSkinTitle = u"Select skin";
std::u16string acs_SkinPreview = u"Skin preview";

}  // namespace skin::core
