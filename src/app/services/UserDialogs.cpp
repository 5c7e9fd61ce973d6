#include "services/UserDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>

namespace zorv {

QStringList qtNameFilters(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        if (description.contains(QLatin1Char('(')) && description.endsWith(QLatin1Char(')')))
            out << description;
        else
            out << description + QStringLiteral(" (") +
                       QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out;
}

QString extensionOfNameFilter(const QString& nameFilter) {
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\s*\\*\\.([^\\s;)]+)"));
    const auto m = firstPattern.match(nameFilter);
    if (!m.hasMatch() || m.captured(1) == QLatin1String("*")) return {};
    return m.captured(1);
}

QString extensionOfType(const QString& filter, int n) {
    const QString mark = QStringLiteral("|*.");
    qsizetype at = -1;
    for (int i = 0; i < n; ++i) {
        at = filter.indexOf(mark, at + 1);
        if (at < 0) return {};
    }
    const qsizetype start = at + mark.size();
    const qsizetype end = filter.indexOf(QLatin1Char('|'), start);
    return filter.mid(start, end < 0 ? -1 : end - start);
}

QString withDefaultExtension(const QString& fileName, const QString& extension) {
    if (fileName.isEmpty() || extension.isEmpty() || !QFileInfo(fileName).suffix().isEmpty()) return fileName;
    return fileName + QLatin1Char('.') + extension;
}

QString fileDialogStartFolder(const QString& folder) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return QDir::cleanPath(folder);
    return QDir::homePath();
}

namespace {

int messageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
               bool withCancel) {
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    if (withCancel) box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok ? 1 : 0;
}

}  // namespace

void QtUserDialogs::information(const QString& title, const QString& text) {
    messageBox(parent_, QMessageBox::Information, title, text, false);
}

void QtUserDialogs::error(const QString& title, const QString& text) {
    messageBox(parent_, QMessageBox::Critical, title, text, false);
}

bool QtUserDialogs::confirm(const QString& title, const QString& text) {
    return messageBox(parent_, QMessageBox::Question, title, text, true) == 1;
}

QString QtUserDialogs::openFile(const FileDialogRequest& request) {
    const QStringList filters = qtNameFilters(request.filter);
    return QFileDialog::getOpenFileName(parent_, request.title, fileDialogStartFolder(request.directory),
                                        filters.join(QStringLiteral(";;")), nullptr);
}

SaveChoice QtUserDialogs::chooseSaveFile(const FileDialogRequest& request) {
    const QStringList filters = qtNameFilters(request.filter);
    QFileDialog dialog(parent_, request.title, fileDialogStartFolder(request.directory));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    const auto defaultOf = [&](int type) {
        const QString e = extensionOfType(request.filter, type);
        return e.isEmpty() || e == QLatin1String("*") ? request.defaultExtension : e;
    };
    dialog.setDefaultSuffix(defaultOf(1));
    // The default extension follows the chosen type.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& nameFilter) {
        dialog.setDefaultSuffix(defaultOf(int(filters.indexOf(nameFilter)) + 1));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    SaveChoice choice;
    choice.type = std::max(1, int(filters.indexOf(dialog.selectedNameFilter())) + 1);
    choice.name = withDefaultExtension(dialog.selectedFiles().first(), defaultOf(choice.type));
    return choice;
}

QString QtUserDialogs::chooseDirectory(const QString& title, const QString& directory) {
    return QFileDialog::getExistingDirectory(parent_, title, fileDialogStartFolder(directory));
}

bool QtUserDialogs::setUpPrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace zorv
