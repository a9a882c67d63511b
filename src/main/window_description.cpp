#include "main/window_description.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace window {

namespace {

constexpr Key Ctrl(int code) {
  return {Key::kCtrl, code};
}

using A = Action;

constexpr ActionInfo kActions[kActionCount] = {
    {A::Exit, "a4Exit", "E&xit", {Key::kAlt, Key::kF1 + 3}, 27, "", true},
    {A::Disabled, "a4Disabled", " ", {}, -1, "", false},
    {A::LoadConfig, "a4LoadConfig", "&Load configuration", {}, -1, "", true},
    {A::SaveConfig, "a4SaveConfig", "&Save configuration", {}, -1, "", true},
    {A::DefaultSize, "a4DefaultSize", "&Default size", Ctrl('N'), -1,
     "Resize to default size|Resize the program window to the default size (Suitable for "
     "screen resolution of 1024x768 and above)",
     true},
    {A::MinSize, "a4MinSize", "&Minimale Größe", Ctrl('M'), -1,
     "Resize to minimum size|Resize the program window to the minimum size (Suitable for "
     "screen resolution of 800x600)",
     true},
    {A::ShowProtocollPage, "a4ShowProtocollPage", "&Logfile", Ctrl('1'), -1, "", true},
    {A::ShowPage1, "a4ShowPage1", "&Einstellungen", Ctrl('2'), -1,
     "Zeigt die Registerseite mit den Angaben der Programmeinstellungen an", true},
    {A::ShowPage2, "a4ShowPage2", "Be&staetigung", Ctrl('3'), -1,
     "Zeigt die Registerseite mit der Vorlage für Übertragungsbestätigungen an", true},
    {A::ShowPage3, "a4ShowPage3", "&Auftragsmitteilung", Ctrl('5'), -1,
     "Zeigt die Registerseite mit der Vorlage für Auftragsmitteilungen an", true},
    {A::ShowPage4, "a4ShowPage4", "D&okumentation", Ctrl('4'), -1,
     "Zeigt die Registerseite mit der Programmdokumentation an", true},
    {A::ShowDebugPage, "a4ShowDebugPage", "Debug-Infos", Ctrl('5'), -1,
     "Zeigt die Registerseite mit der Debuginformationen an", true},
    {A::LoadCodeFile, "a4LoadCodeFile", "Load &code file", Ctrl('L'), 30, "", true},
    {A::LoadHeaderFile, "a4LoadHeaderFile", "Load &header file", Ctrl('H'), 30, "", true},
    {A::MergeFiles, "a4MergeFiles", "&Merge files", Ctrl('M'), 32, "", true},
    {A::SaveMergedFile, "a4SaveMergedFile", "&Save merged file", Ctrl('S'), 36, "", true},
};

constexpr MenuItem kFileItems[] = {
    {"Loadcodefile1", A::LoadCodeFile},
    {"Loadheaderfile1", A::LoadHeaderFile},
    {"Savefile1", A::SaveMergedFile},
    {"N1", std::nullopt},
    {"Beenden1", A::Exit},
};
constexpr MenuItem kEditItems[] = {{"Mergefiles1", A::MergeFiles}};
constexpr MenuItem kWindowItems[] = {{"Standardgre1", A::DefaultSize},
                                     {"Standardgre2", A::MinSize}};

constexpr Menu kMenus[] = {
    {"mi4Datei", "&File", "Laden und Speichern der Konfiguration, Beenden des Programms",
     kFileItems},
    {"Edit1", "&Edit", "", kEditItems},
    {"mi4Fenster", "&Window",
     "Einstellen der Größe des Programmfensters und von Einzelnen Fensterelementen", kWindowItems},
};

using K = ToolBarItem::Kind;
constexpr ToolBarItem kToolBar[] = {
    {K::Button, "ToolButton3", A::LoadCodeFile, "&Code file"},
    {K::Button, "ToolButton9", A::LoadHeaderFile, "&Header file"},
    {K::Separator, "ToolButton8", A::Disabled, nullptr},
    {K::Button, "ToolButton4", A::MergeFiles, "&Merge"},
    {K::Separator, "ToolButton6", A::Disabled, nullptr},
    {K::Button, "ToolButton1", A::SaveMergedFile, "&Save"},
    {K::Button, "ToolButton2", A::Disabled, nullptr},
    {K::Button, "ToolButton5", A::Disabled, nullptr},
    {K::Spacer, "p4Separator", A::Disabled, nullptr},
    {K::Separator, "ToolButton11", A::Disabled, nullptr},
    {K::Button, "ToolButton10", A::Exit, nullptr},
};

constexpr char kProtocolPageHint[] = "Protokoll aller bisher ausgeführten Funktionen";

constexpr PageInfo kPages[kPageCount] = {
    {"TabSheet1", "&Protocol", true, kProtocolPageHint},
    {"TabSheet2", "&Einstellungen", false, ""},
    {"TabSheet5", "Listen", false, ""},
    {"TabSheet3", "Personen", false, ""},
    {"TabSheet6", "Code file", true, ""},
    {"TabSheet7", "Header file", true, ""},
    {"TabSheet8", "Merged file", true, ""},
    {"TabSheet4", "&Help", true, ""},
};

constexpr PaneInfo kPanes[] = {
    {Pane::Log, "m4Log", 0, kSmallFont, false, true},
    {Pane::Lists, "m4Lists", 2, kLargeFont, true, true},
    {Pane::Member, "m4Member", 3, kLargeFont, true, false},
    {Pane::CodeFile, "m4CodeFile", 4, kSmallFont, false, true},
    {Pane::HeaderFile, "m4HeaderFile", 5, kSmallFont, false, true},
    {Pane::MergedFile, "m4MergedFile", 6, kSmallFont, false, true},
    {Pane::Doku, "m4Doku", 7, kLargeFont, true, true},
};

constexpr SettingsRow kSettingsRows[] = {
    {"e4AccountDir", 4, true, "Label14", "Verzeichnis des Mail-Kontos", true},
    {"e4DistributionLists", 28, true, "Label15", "Namen der Verteilerlisten", false},
    {"e4ImportDir", 76, true, "Label1", "Ausgabeverzeichnis für den Import", true},
    {"e4AddressbookName", 101, true, "Label3", "Name der Ausgabedatei", true},
    {"e4Addressbooks", 52, true, "Label7", "Name der Adressbücher", true},
    {"e4ProfileDir", 124, true, "Label4", "Profilverzeichnis", true},
    {"e4FilenameSuffixes", 148, false, "Label8", "Profilverzeichnis", true},
    {"e4ProxyServer", 172, false, "Label6", "unsichtbar", true},
    {"e4NotificationAddress", 196, false, "Label5", "unsichtbar", true},
    {"e4WorkOrderAddress", 220, false, "Label2", "unsichtbar", true},
    {"e4SMTPServer", 244, false, "Label9", "unsichtbar", true},
    {"e4TransferDatum", 268, false, "Label10", "unsichtbar", true},
    {"e4TransferNummer", 292, false, "Label11", "unsichtbar", true},
    {"e4TransferKonto", 316, false, "Label12", "unsichtbar", true},
    {"e4TransferBuchungen", 340, false, "Label13", "unsichtbar", true},
    {"e4TransferBetrag", 364, false, "Label16", "unsichtbar", true},
};

}  // namespace

std::string KeyText(Key key) {
  if (key.Empty()) return {};
  std::string text;
  if (key.modifiers & Key::kCtrl) text += "Ctrl+";
  if (key.modifiers & Key::kAlt) text += "Alt+";
  if (key.modifiers & Key::kShift) text += "Shift+";
  if (key.code >= Key::kF1) return text + "F" + std::to_string(key.code - Key::kF1 + 1);
  if (key.code == Key::kTab) return text + "Tab";
  return text + static_cast<char>(key.code);
}

std::span<const ActionInfo> Actions() {
  return kActions;
}

const ActionInfo& ActionOf(Action id) {
  return kActions[static_cast<int>(id)];
}

Picture PictureAt(int index) {
  switch (index) {
    case 27:
      return Picture::Exit;
    case 30:
      return Picture::Open;
    case 32:
      return Picture::Merge;
    case 36:
      return Picture::Save;
    default:
      return static_cast<Picture>(index % 4);
  }
}

std::string_view ShortHint(std::string_view hint) {
  return hint.substr(0, hint.find('|'));
}

std::string_view LongHint(std::string_view hint) {
  const size_t bar = hint.find('|');
  return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

char MnemonicOf(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') {
      return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    ++i;  // "&&" stands for "&"
  }
  return 0;
}

std::string PlainCaption(std::string_view caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  return plain;
}

std::span<const Menu> Menus() {
  return kMenus;
}

const char* ToolBarItem::Caption() const {
  return caption ? caption : ActionOf(action).caption;
}

std::span<const ToolBarItem> ToolBarItems() {
  return kToolBar;
}

int SpacerWidth(int barWidth) {
  // Everything but four of the items counts as a button; 30 pixels stay free.
  const int items = static_cast<int>(std::size(kToolBar));
  return std::max(0, barWidth - (items - 4) * kButtonWidth - 30);
}

std::span<const PageInfo> Pages() {
  return kPages;
}

std::optional<int> PageShownBy(Action id) {
  switch (id) {
    case A::ShowProtocollPage:
      return 0;
    case A::ShowPage1:
      return 1;
    case A::ShowPage2:
      return 2;
    case A::ShowPage3:
      return 3;
    case A::ShowPage4:
      return 4;
    case A::ShowDebugPage:
      return 5;
    default:
      return std::nullopt;
  }
}

int NextPageWithTab(int page, bool forward) {
  int next = page;
  do {
    next = (next + (forward ? 1 : kPageCount - 1)) % kPageCount;
  } while (next != page && !kPages[next].tabShown);
  return next;
}

std::span<const PaneInfo> Panes() {
  return kPanes;
}

std::span<const SettingsRow> SettingsRows() {
  return kSettingsRows;
}

std::optional<KeyClaim> ClaimShortcut(Key key, const std::function<bool(Action)>& enabled) {
  if (key.Empty()) return std::nullopt;
  // Every menu is enabled, so an item counts as enabled exactly when its action is.
  for (const Menu& menu : kMenus) {
    for (const MenuItem& item : menu.items) {
      if (item.action && ActionOf(*item.action).key == key) {
        if (!enabled(*item.action)) return KeyClaim{};
        return KeyClaim{item.action};
      }
    }
  }
  for (const ActionInfo& action : kActions) {
    if (action.key == key) return KeyClaim{action.id};
  }
  return std::nullopt;
}

std::optional<MnemonicTarget> ClaimMnemonic(char letter,
                                            const std::function<bool(MnemonicTarget)>& usable) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (letter == 0) return std::nullopt;
  for (int i = 0; i < static_cast<int>(std::size(kToolBar)); ++i) {
    const MnemonicTarget target{MnemonicTarget::Kind::ToolButton, i};
    if (kToolBar[i].kind == K::Button && MnemonicOf(kToolBar[i].Caption()) == letter &&
        usable(target)) {
      return target;
    }
  }
  for (int page = 0; page < kPageCount; ++page) {
    const MnemonicTarget target{MnemonicTarget::Kind::Page, page};
    if (kPages[page].tabShown && MnemonicOf(kPages[page].caption) == letter && usable(target)) {
      return target;
    }
  }
  return std::nullopt;
}

}  // namespace window
