#pragma once
// Dialogs that record what the program asked and answer from a script.

#include <QPrinter>
#include <QStringList>
#include <deque>

#include "services/UserDialogs.h"

struct ScriptedDialogs : zorv::UserDialogs {
    struct Message {
        QString kind, title, text;
    };
    std::vector<Message> messages;
    std::deque<bool> confirmAnswers;  // empty: OK
    QString fileAnswer;
    int typeAnswer = 1;                                 // the type chosen in a save dialog
    std::vector<zorv::FileDialogRequest> fileRequests;  // every file dialog asked

    void information(const QString& title, const QString& text) override {
        messages.push_back({QStringLiteral("info"), title, text});
    }
    void error(const QString& title, const QString& text) override {
        messages.push_back({QStringLiteral("error"), title, text});
    }
    bool confirm(const QString& title, const QString& text) override {
        messages.push_back({QStringLiteral("confirm"), title, text});
        if (confirmAnswers.empty()) return true;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    QString openFile(const zorv::FileDialogRequest& r) override {
        fileRequests.push_back(r);
        return fileAnswer;
    }
    zorv::SaveChoice chooseSaveFile(const zorv::FileDialogRequest& r) override {
        fileRequests.push_back(r);
        return {fileAnswer, typeAnswer};
    }
    QString chooseDirectory(const QString&, const QString&) override { return fileAnswer; }
    // Printing goes to this PDF file; empty: the print dialog is cancelled.
    QString printAnswer;
    QStringList printedDocuments;  // the job titles, in order
    bool setUpPrinter(QPrinter& printer) override {
        if (printAnswer.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printAnswer);
        printer.setResolution(300);
        return true;
    }

    int count(const QString& text) const {
        int n = 0;
        for (const auto& m : messages) n += m.text == text;
        return n;
    }
};
