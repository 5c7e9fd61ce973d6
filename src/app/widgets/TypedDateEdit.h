#pragma once
// A date field that takes a date typed as it is written: "2002-12-31" as
// well as "20021231". A section filled by its digits moves the cursor on by
// itself, so the separator typed after it is taken as that move, not as a
// second one that would skip the next section.

#include <QDateEdit>

namespace zorv {

class TypedDateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit TypedDateEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool movedOn_ = false;  // the last digit filled its section and moved on
};

}  // namespace zorv
