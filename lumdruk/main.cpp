// Lumdruk: the print program. Its one argument is the job file; it prints, saves or writes the
// page picture as the job's mode asks and leaves W_X.txt beside the job file. Its exit status
// says how the job ended (print/print_exit.h); its messages go to standard error.
#include "lumdruk/job.h"
#include "lumdruk/render.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QTranslator>

#include <cstdio>

namespace {

// Without a screen a dialog could never be answered: the job is refused instead of waiting.
bool CanShowDialogs() {
    return QGuiApplication::platformName() != QStringLiteral("offscreen") &&
           QGuiApplication::platformName() != QStringLiteral("minimal");
}

class DialogUi : public vardel::lumdruk::JobUi {
  public:
    // The job lies in the calling run's own folder, which goes with the run: the dialog starts
    // where the user started the program.
    QString AskSavePath(const QString& /*jobDirectory*/) override {
        const QString emf = QStringLiteral("EMF (*.emf)");
        const QString pdf = QStringLiteral("PDF (*.pdf)");
        const QString svg = QStringLiteral("SVG (*.svg)");
        const QString png = QStringLiteral("PNG (*.png)");
        QString filter = emf;
        QString path = QFileDialog::getSaveFileName(
            nullptr, QStringLiteral("Zapisz stronę jako"), QDir::current().filePath("Vardel.emf"),
            QStringList{emf, pdf, svg, png}.join(QStringLiteral(";;")), &filter);
        if (path.isEmpty()) {
            return {};
        }
        // A name typed without a known extension takes the chosen filter's.
        if (vardel::lumdruk::FormatForPath(path) == vardel::lumdruk::SaveFormat::Unknown) {
            const qsizetype star = filter.indexOf(u'*');
            path += filter.mid(star + 1, filter.size() - star - 2);
        }
        return path;
    }

    bool CanAsk() const override { return CanShowDialogs(); }

    bool ChoosePrinter(QPrinter& printer) override {
        QPrintDialog dialog(&printer);
        dialog.setWindowTitle(QStringLiteral("Drukuj"));
        return dialog.exec() == QDialog::Accepted;
    }
};

void LogLine(const QString& line) {
    std::fprintf(stderr, "Lumdruk: %s\n", line.toUtf8().constData());
}

}  // namespace

int main(int argc, char** argv) {
    // Started without a display (a build machine, a remote shell), the picture and print modes
    // still work; the dialog modes are refused.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The printer and file dialogs in the user's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtTexts);
    }
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        LogLine(QStringLiteral("usage: Lumdruk JOB_FILE (the job file W_KK.txt)"));
        QString error;
        if (!vardel::lumdruk::WriteStatusFile(QCoreApplication::applicationDirPath(), false, 0,
                                              &error)) {
            LogLine(error);
        }
        return static_cast<int>(vardel::PrintExit::Usage);
    }
    DialogUi ui;
    const vardel::lumdruk::JobResult result = vardel::lumdruk::RunJob(args[1], ui, LogLine);
    return static_cast<int>(result.ok ? vardel::PrintExit::Done : result.exit);
}
