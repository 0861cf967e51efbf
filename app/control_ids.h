// Stable control identifiers of the main window, for keyboard users, screen readers and test
// drivers. A fix row's button carries the fix ID itself and its label 10000 + the ID.
#pragma once

namespace corrivo::ids {

constexpr int kFixLabelBase = 10000;
constexpr int FixButton(int fixId) { return fixId; }
constexpr int FixLabel(int fixId) { return kFixLabelBase + fixId; }

// Header tiles, their icons, and the six category tiles (categories 1 to 6).
constexpr int kImgGeneral = 2001;
constexpr int kImgAdvanced = 2002;
constexpr int kImageInternet = 2003;
constexpr int kImageMediaPlayer = 2004;
constexpr int HeaderTile(int page) { return kImgGeneral + page; }
constexpr int kCategoryTileBase = 2010;
constexpr int CategoryTile(int category) { return kCategoryTileBase + category; }

// General Fix page.
constexpr int kButtonScan = 3001;
constexpr int kButtonStopScan = 3002;
constexpr int kButtonFix = 3003;
constexpr int kButtonStopFix = 3004;
constexpr int kCheckBoxSelectAll = 3005;
constexpr int kListViewFix = 3006;
constexpr int kImgProgressBarMain = 3007;

// Re-registration pages.
constexpr int kButtonFixIE = 3101;
constexpr int kButtonStopFixIE = 3102;
constexpr int kImageProgressFixIE = 3103;
constexpr int kButtonFixMediaPlayer = 3201;
constexpr int kButtonStopFixMediaPlayer = 3202;
constexpr int kImageProgressFixMediaPlayer = 3203;

// Window frame.
constexpr int kRdBtnMin = 4001;
constexpr int kRdbtnMaxM = 4002;
constexpr int kRdBtnMax = 4003;
constexpr int kRdbtnClose = 4004;
constexpr int kLabelTitle = 4010;
constexpr int kLabelInfo = 4011;
constexpr int kLabelTips = 4012;
constexpr int kLabelFixIEInfo = 4013;
constexpr int kLabelFixWMPInfo = 4014;
// Under Label_Info: whose settings the repairs change, when that is not plainly this user's.
constexpr int kLabelDesktopUser = 4015;
constexpr int kLabelGeneral = 4021;
constexpr int kLabelAdvanced = 4022;
constexpr int kLabelInternet = 4023;
constexpr int kLblMediaPlayer = 4024;
constexpr int HeaderLabel(int page) { return kLabelGeneral + page; }
constexpr int kCategoryLabelBase = 4030;
constexpr int CategoryLabel(int category) { return kCategoryLabelBase + category; }

// "What will this change?": the item of a repair row's context menu, and the box it opens (a
// dialog owned by the main window) with the preview's read-only text and its Close button.
constexpr int kMenuWhatWillChange = 6001;
constexpr int kPreviewText = 6002;
constexpr int kPreviewClose = 6003;
// "Undo…" in the same menu opens the undo journal's box: the list of entries, newest first,
// its Undo button (for the selected entry) and Close.
constexpr int kMenuUndo = 6004;
constexpr int kJournalList = 6005;
constexpr int kJournalUndo = 6006;
constexpr int kJournalClose = 6007;

// Pictures, panels and pages that nobody clicks or reads still get identifiers so that a test
// driver can find them; they stay clear of the ranges above.
// 5002 and 5003 were the logo and the title icon, now drawn by the background (img1).
constexpr int kImg1 = 5001;
constexpr int kImg2 = 5004;
constexpr int kImageTop = 5005;
constexpr int kImageLeft = 5006;
constexpr int kImageBottom = 5007;
constexpr int kImageRight = 5008;
constexpr int kPnlBK = 5010;
// The content border's left edge; the rest of that border, and the frame's corners (once
// 5100 to 5103 and 5110 to 5117), are drawn by what lies beneath them.
constexpr int kImageContentLeft = 5111;
constexpr int kImageRectTop = 5011;
constexpr int kPageNote = 5012;
constexpr int PageTab(int page) { return 5020 + page; }  // PageNote_General ... _MediaPlayer
constexpr int kPanelFix = 5030;
constexpr int kPanelAdvancedFix = 5031;
constexpr int kPanelFixIE = 5032;
constexpr int kPanelFixWMP = 5033;
constexpr int kPanelFixIEMain = 5034;
constexpr int kPanel1 = 5035;
constexpr int kImageFixIE = 5036;
constexpr int kImageFixWMP = 5037;
constexpr int kPageNoteAdvancedFix = 5040;
constexpr int CategoryPage(int category) { return 5040 + category; }       // PageTab_<n>_...
constexpr int CategoryScrollBox(int category) { return 5050 + category; }  // ScrollBox_...
constexpr int CategoryPanel(int category) { return 5060 + category; }      // Panel_Desktop ...

}  // namespace corrivo::ids
