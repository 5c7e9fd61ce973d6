#pragma once
// The text window: a report or a text table in a fixed-pitch font without
// wrapping, so that the 36-character labels line up. The text is an ordinary
// editable one; what is saved or exported is what the window holds then.

#include <QWidget>

#include "report/ReportLines.h"
#include "services/ChildWindow.h"

class QPlainTextEdit;

namespace zorv {

class TfmRichText : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    explicit TfmRichText(QWidget* parent = nullptr);
    ChildKind childKind() const override { return ChildKind::Text; }

    // Empties the editor and shows the lines.
    void setLines(const ReportLines& lines);
    // The editor's text as lines (UTF-8); an empty editor has none.
    ReportLines lines() const;
    QPlainTextEdit* editor() const { return editor_; }

private:
    QPlainTextEdit* editor_;
};

}  // namespace zorv
