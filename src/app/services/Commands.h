#pragma once
// The main window's table of commands: every action with its name, caption,
// hint, shortcut, tag, place in the menus and tool bars, and the rule that
// enables it. The window builds its actions from this table; the code that
// does a command's work binds its handler by the command's name.

#include <span>
#include <string_view>

namespace zorv {

enum CommandFlag : unsigned {
    Checkable = 1u << 0,
    Checked = 1u << 1,        // initially checked
    CatalogueOnly = 1u << 2,  // enabled exactly while a catalogue is open
    AtBeginOff = 1u << 3,     // off while the catalogue is at its first record
    AtEndOff = 1u << 4,       // off while the catalogue is at its last record
    SaveCommand = 1u << 5,    // by the kind of the active child window
    PrintCommand = 1u << 6,
    ExportCommand = 1u << 7,
    ChartCommand = 1u << 8,
    HiddenCommand = 1u << 9,     // hidden and disabled for good
    NeverEnabled = 1u << 10,     // shown, disabled, no handler
    SeparatorBefore = 1u << 11,  // a menu separator precedes it
    AnalysisCommand = 1u << 12,
};

enum class ToolBarId { None, File, Database, Filter, Charts, Analysis };

// Tags that tell apart the commands sharing one handler.
enum NavigationTag { kFirstRecord = 1, kPriorRecord = 2, kNextRecord = 3, kLastRecord = 4 };
enum ConnectiveTag { kAndTag = 1, kOrTag = 2 };
// Client sizes of a chart window; any other tag only restores it.
enum ChartSizeTag {
    kSize400x300 = 1,
    kSize500x400 = 2,
    kSize600x500 = 3,
    kSizeOfSettings = 4,
    kRestoreOnly = 10
};

struct CommandDescriptor {
    const char* name;      // "mOpen"
    const char* caption;   // menu text
    const char* hint;      // status bar hint
    const char* shortcut;  // portable key text, "" for none
    int tag;               // tells apart commands sharing a handler
    const char* menu;      // "Plik" or "Baza danych/Zakładka" (submenu)
    unsigned flags;
    ToolBarId toolBar;
    const char* tab;  // tab of the analysis tool bar, or nullptr
};

// Every command in menu order.
std::span<const CommandDescriptor> commandTable();
const CommandDescriptor* findCommand(std::string_view name);

// The top menus in order; "Sejsmometria" is hidden at start.
std::span<const char* const> topMenus();
// Tabs of the analysis tool bar in order.
std::span<const char* const> analysisTabs();
// The short text of a command's tool bar button (its caption when none);
// the button's tool tip gives the whole caption.
const char* toolBarText(std::string_view name);
// Captions of the tool bars 1..5, the tags of the "Widok" toggles.
const char* toolBarCaption(ToolBarId id);

}  // namespace zorv
