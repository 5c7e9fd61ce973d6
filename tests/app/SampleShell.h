#pragma once
// The main window with a copy of the bundled sample catalogue open, and
// what the analysis tests read back from it.

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "ShellFixture.h"
#include "chart/TfmGraph.h"

// The sample copied into the fixture's folder: tests never write the bundled file.
inline QString sampleCopy(ShellFixture& f) {
    const QString to = f.dir.filePath(QStringLiteral("katalog.dbf"));
    QFile::copy(QStringLiteral(ZORV_SAMPLE_DIR "/katalog.dbf"), to);
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    return to;
}

inline zorv::TfmZorv& openSample(ShellFixture& f) {
    zorv::TfmZorv& w = f.start();
    w.newBase(sampleCopy(f));
    return w;
}

// The chart windows of the main window in the order they were opened.
inline QList<zorv::TfmGraph*> charts(zorv::TfmZorv& w) {
    QList<zorv::TfmGraph*> out;
    for (QMdiSubWindow* s : w.mdiArea()->subWindowList(QMdiArea::CreationOrder))
        if (auto* g = qobject_cast<zorv::TfmGraph*>(s->widget())) out << g;
    return out;
}

inline QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}
