#include "engine/scan_items.h"

#include "sysaccess/platform.h"

namespace corrivo {
namespace {

// The descriptions are shown exactly as they stand, misspellings and the blank that ends the
// last one included: users and their screenshots know them in this form.
const ScanItem kScanItems[kScanItemCount] = {
    // 0: 101
    {L"The Recycle Bin icon is missing from your desktop.",
     ScanOffer::Always, ScanCheck::Always},
    // 1: 102
    {L"Resets or fixes folders view settings to default, when folders are showing different command bar and controls than content.",
     ScanOffer::Always, ScanCheck::Always},
    // 2: 103
    {L"Games Explorer is not working or unable to open Games Explorer folder.",
     ScanOffer::Never, ScanCheck::NotOnXP},
    // 3: 104
    {L"Enable Folder Options. Fixes when Folder Options is missing from Tools menu and Control Panel.",
     ScanOffer::Always, ScanCheck::Always},
    // 4: 105
    {L"Fixes Show hidden files, folders and drives. Some malware modify Windows settings to disable or prevent users from changing Show Hidden Files and Folders under Folder Options.",
     ScanOffer::Always, ScanCheck::Always},
    // 5: 106
    {L"Restore the Windows Sidebar. Fixes when you try to run the program to start it, Windows Sidebar does not appear on desktop.",
     ScanOffer::Never, ScanCheck::NotOnXP},
    // 6: 107
    {L"Fixes Recycle Bin icon, when it doesn't refresh automatcally.",
     ScanOffer::Always, ScanCheck::Always},
    // 7: 108
    {L"Explorer.exe won't start at boot in Windows.",
     ScanOffer::Always, ScanCheck::Always},
    // 8: 109
    {L"CD drive or DVD drive is missing or is not recongnized by Windows or other programs.",
     ScanOffer::Always, ScanCheck::Always},
    // 9: 110
    {L"Thumbnails not working in Windows Explorer.",
     ScanOffer::Never, ScanCheck::Always},
    // 10: 201
    {L"Internet Explorer icon is missing from desktop. It creates an Internet Explorer icon on your desktop.",
     ScanOffer::NotOnWindows7, ScanCheck::NotOnWindows7Or8},
    // 11: 202
    {L"Complete or Skip the Run Once Wizard, when running Internet Explorer for first time.",
     ScanOffer::Always, ScanCheck::None},
    // 12: 203
    {L"Internet options are missing under Settings on the Advanced tab of the \"Internet Options\" dialog box.",
     ScanOffer::Never, ScanCheck::Always},
    // 13: 204
    {L"Optimize Internet Explorer maximum connection per server to download more than two files at once.",
     ScanOffer::Never, ScanCheck::None},
    // 14: 205
    {L"Unable to change home page, Internet Explorer launches everytime MSN default home page.",
     ScanOffer::Always, ScanCheck::None},
    // 15: 206
    {L"Fix Runtime Error Dialogs are appearing in Internet Explorer, while surfing.",
     ScanOffer::Always, ScanCheck::Always},
    // 16: 207
    {L"Repair internet connection or Reset TCP/IP to default state.",
     ScanOffer::Never, ScanCheck::None},
    // 17: 208
    {L"Fix Blurry Text or Font Style for Source Window of Internet Explorer 8.",
     ScanOffer::Never, ScanCheck::None},
    // 18: 209
    {L"Reset Internet Explorer settings to default configuration.",
     ScanOffer::Never, ScanCheck::None},
    // 19: 210
    {L"Right Click Context Menu In Internet Explorer disabled.",
     ScanOffer::Always, ScanCheck::Always},
    // 20: 301
    {L"Windows Media Player does not start and an error message appears \"An internal application error has occurred\".",
     ScanOffer::Never, ScanCheck::Always},
    // 21: 302
    {L"Windows Media Player stops responding after you install a third-party product that registers its own version of the Wmp.dll file.",
     ScanOffer::Never, ScanCheck::Always},
    // 22: 303
    {L"Windows Media Player does not show slideshow correctly.",
     ScanOffer::Never, ScanCheck::Always},
    // 23: 304
    {L"Media files associated with Windows Media Player are missing right cilck Context menu.",
     ScanOffer::Never, ScanCheck::Always},
    // 24: 305
    {L"Windows Median Player Compositing Mixer is not working properly.",
     ScanOffer::Never, ScanCheck::Always},
    // 25: 306
    {L"Windows Media Player is not installed properly and must be reinstalled. Do you want to install the Player from Microsoft Web site?",
     ScanOffer::Never, ScanCheck::None},
    // 26: 307
    {L"Reset Windows Media Library and fix library sync issues.",
     ScanOffer::Never, ScanCheck::Always},
    // 27: 308
    {L"Automatic Updates not working for Windows Media Player.",
     ScanOffer::Always, ScanCheck::Always},
    // 28: 309
    {L"Flush and rebuild Windows Media Center database.",
     ScanOffer::Never, ScanCheck::None},
    // 29: 310
    {L"Fix Windows Media player doesn't show flash content while visiting Online Stores or Media Guide.",
     ScanOffer::Never, ScanCheck::None},
    // 30: 401
    {L"Enable Task Manager. When you try to open or run Task Manager (Taskmgr.exe), the following error may occur:\"Task Manager has been disabled by your administrator\".",
     ScanOffer::Always, ScanCheck::Always},
    // 31: 402
    {L"Enable Command Prompt. When you run cmd.exe or batch files, you may get message \"The command prompt has been disabled by your administrator\".",
     ScanOffer::Always, ScanCheck::Always},
    // 32: 403
    {L"Enable Registry Editer. An error message is displayed when you start the Registry Editer (regedit.exe) \"Registry Editing has been disabled by your administrtor\".",
     ScanOffer::Always, ScanCheck::Always},
    // 33: 404
    {L"Enable MMC Snap-ins. Some viruses disable users to run MMC Snap-ins, that prevent to run Group Policy (gpedit.msc), Local Security Policy, Disk Management, etc.",
     ScanOffer::Always, ScanCheck::Always},
    // 34: 405
    {L"Reset Windows Search to Defaults. When searching in Windows Vista you may get a message \"Search Failed to Initialize\".",
     ScanOffer::Always, ScanCheck::None},
    // 35: 406
    {L"Reset System Restore to Defaults. When create restore point, you may get a message \"System Restore has been turned off by group policy. To turn on System Restore, contact your domain Administrator\".",
     ScanOffer::Never, ScanCheck::Always},
    // 36: 407
    {L"Device Manager is not working properly and not showing any devices.",
     ScanOffer::Always, ScanCheck::Always},
    // 37: 408
    {L"Repair Windows Defender. It fixes all the Registry settings and service of Windows Defender to defaults.",
     ScanOffer::Never, ScanCheck::None},
    // 38: 409
    {L"Action Center and Windows Secuity Center no longer recognizes AntiVirus and Firewall or still identifies old securety software as installed.",
     ScanOffer::Never, ScanCheck::None},
    // 39: 410
    {L"Fix \"Turn Windows Features On or Off\" dialog box is blank or empty.",
     ScanOffer::NotOnXP, ScanCheck::NotOnXP},
    // 40: 501
    {L"Enable Hibernate and Hybrid Sleep feature. Fixes Hiberante is missing from Shutdown button.",
     ScanOffer::Never, ScanCheck::None},
    // 41: 502
    {L"Restore the Windows Sidebar Gadgets. Sidebar Gadgets missing from Gadget panel.",
     ScanOffer::Never, ScanCheck::NotOnXP},
    // 42: 503
    {L"Restore the Sticky Notes delete warning dialog box.",
     ScanOffer::Windows7AndLater, ScanCheck::Windows7AndLater},
    // 43: 504
    {L"When you open Windows Update website, you get a blank Windows Update page.",
     ScanOffer::Never, ScanCheck::None},
    // 44: 505
    {L"Unable to open Help files that requier the Windows Help (WinHlp32.exe) program on Windows Vista and Windows 7.",
     ScanOffer::Never, ScanCheck::None},
    // 45: 506
    {L"Fix Corrupted Desktop Icons. Clear and rebuild corrupted icon cache and increase maximum icon cache limit upto 5000.",
     ScanOffer::Never, ScanCheck::None},
    // 46: 507
    {L"Taskbar JumpList is missing or doesn't store MRU file list.",
     ScanOffer::Never, ScanCheck::None},
    // 47: 508
    {L"Aero Snap is not working.",
     ScanOffer::Never, ScanCheck::Windows7AndLater},
    // 48: 509
    {L"Aero Shake is not working.",
     ScanOffer::Never, ScanCheck::Windows7AndLater},
    // 49: 510
    {L"Aero Peek is not working. ",
     ScanOffer::Never, ScanCheck::Windows7AndLater},
};

}  // namespace

bool IsScanItemIndex(int index) { return index >= 0 && index < kScanItemCount; }

int ScanItemFixId(int index) {
  if (!IsScanItemIndex(index)) return 0;
  return (index / 10 + 1) * 100 + index % 10 + 1;
}

const ScanItem* FindScanItem(int index) {
  return IsScanItemIndex(index) ? &kScanItems[index] : nullptr;
}

const wchar_t* ScanItemDescription(int index) {
  const ScanItem* item = FindScanItem(index);
  return item ? item->description : L"";
}

bool ScanItemOffered(int index, std::int32_t osVersionCode) {
  const ScanItem* item = FindScanItem(index);
  if (!item) return false;
  switch (item->offer) {
    case ScanOffer::Always: return true;
    case ScanOffer::Never: return false;
    case ScanOffer::NotOnWindows7: return osVersionCode != kOsWin7;
    case ScanOffer::NotOnXP: return osVersionCode != kOsXP;
    case ScanOffer::Windows7AndLater: return osVersionCode >= kOsWin7;
  }
  return false;
}

int ScanItemCheckId(int index, std::int32_t osVersionCode) {
  const ScanItem* item = FindScanItem(index);
  if (!item) return 0;
  bool runs = false;
  switch (item->check) {
    case ScanCheck::Always: runs = true; break;
    case ScanCheck::None: runs = false; break;
    case ScanCheck::NotOnXP: runs = osVersionCode != kOsXP; break;
    case ScanCheck::NotOnWindows7Or8: runs = osVersionCode != kOsWin7 && osVersionCode != kOsWin8; break;
    case ScanCheck::Windows7AndLater: runs = osVersionCode >= kOsWin7; break;
  }
  return runs ? ScanItemFixId(index) : 0;
}

}  // namespace corrivo
