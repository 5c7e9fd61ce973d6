#pragma once
// The program's manual: HTML pages built into the program, shown in a
// browser with a finder of two tabs, the contents and the index of terms.
// Each page names its terms in <meta name="keywords" content="a, b">.

#include <QMap>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

namespace zorv {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    enum class Finder { Contents, Index };

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window with the finder on the given tab, in front of the
    // modal dialog that is up and usable beside it.
    void showFinder(Finder finder);
    // Opens a page of the manual ("katalog.html").
    void openPage(const QString& page);

    QTextBrowser* browser() const { return browser_; }
    QListWidget* contents() const { return contents_; }
    QListWidget* index() const { return index_; }
    Finder currentFinder() const;
    // Index terms and the pages naming them.
    const QMap<QString, QStringList>& terms() const { return terms_; }

    static QString pageTitle(const QString& html);
    static QStringList pageKeywords(const QString& html);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void present();
    // Makes the window a window of `modal` (null: a window of its own).
    void belongTo(QWidget* modal);
    void loadManual();
    void filterIndex(const QString& text);

    QTabWidget* finder_;
    QListWidget* contents_;
    QLineEdit* indexSearch_;
    QListWidget* index_;
    QTextBrowser* browser_;
    QMap<QString, QStringList> terms_;
};

}  // namespace zorv
