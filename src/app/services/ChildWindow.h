#pragma once
// The kinds of child windows of the main window. The file and chart commands
// act on the active child according to its kind.

#include <QWidget>

class QMdiSubWindow;

namespace zorv {

enum class ChildKind {
    None,          // no child, or a window no command works on
    PreviewTable,  // a table file opened for viewing (TfmChildBase)
    ResultTable,   // a copy of a chart's result table (TfmDatabase)
    Chart,         // a chart window (TfmGraph)
    Catalogue,     // the catalogue window (TfmMainBase)
    Text,          // a text window (TfmRichText)
};

// Implemented by the widget of every child window the commands work on.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    virtual ChildKind childKind() const = 0;
};

// The kind of a sub-window's widget; None for none or an unknown widget.
ChildKind childKindOf(const QMdiSubWindow* window);

// Which file and chart commands the active child's kind allows.
struct FileCommandState {
    bool save = false;  // "Zapisz", "Zapisz jako..."
    bool print = false;
    bool exportFile = false;
    bool chart = false;  // the commands of the "Wykresy" menu
    friend bool operator==(const FileCommandState&, const FileCommandState&) = default;
};

FileCommandState fileCommandState(ChildKind active, bool basePropertiesSet);

}  // namespace zorv
