#include "chart/TfmGraph.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiSubWindow>

#include "services/Commands.h"
#include "services/WindowSlots.h"

namespace zorv {

TfmGraph::TfmGraph(std::shared_ptr<Database> analysis, const AnalysisSettings& settings, ChartKind kind,
                   const QString& filterDescription, WindowSlots* windowSlots, int slot, QWidget* parent)
    : AnalysisChart(std::move(analysis), settings, kind, filterDescription, parent),
      slots_(windowSlots),
      slot_(slot) {
    setObjectName(QStringLiteral("TfmGraph"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (slots_) slots_->acquire(slot_);
}

TfmGraph::~TfmGraph() {
    if (slots_) slots_->release(slot_);
}

void TfmGraph::closeEvent(QCloseEvent* event) {
    emit closing(this);
    event->accept();
}

void TfmGraph::setSizePreset(int tag, const ChartOptions& o) {
    QWidget* frame = parentWidget() && qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    frame->showNormal();
    QCoreApplication::processEvents();
    QSize size;
    switch (tag) {
        case kSize400x300: size = {400, 300}; break;
        case kSize500x400: size = {500, 400}; break;
        case kSize600x500: size = {600, 500}; break;
        case kSizeOfSettings: size = {o.width, o.height}; break;
        default: return;
    }
    const QSize frameExtra = frame == this ? QSize() : frame->size() - this->size();
    frame->resize(size + frameExtra);
    resize(size);
}

}  // namespace zorv
