// STAND-IN, to be deleted at the merge: the real results window comes from its own branch.
// This minimal window only lets the input window's branch link and shows that a run ended.
#include "ui/results_window.h"

#include <QLabel>

namespace vardel {

ResultsWindow::ResultsWindow(DesignCase& s, const QString&, QWidget* inputWindow,
                             std::function<void()>)
    : QMainWindow(nullptr) {
    setObjectName(QStringLiteral("VardelWynOK"));
    setProperty("inputWindow", QVariant::fromValue(static_cast<QObject*>(inputWindow)));
    setCentralWidget(new QLabel(s.Wszystko_OK ? QStringLiteral("OK") : QStringLiteral("!!"), this));
}

void ResultsWindow::Start() {
    show();
    if (auto* input = qobject_cast<QWidget*>(property("inputWindow").value<QObject*>())) {
        input->hide();
    }
}

}  // namespace vardel
