#include "print/print_job.h"

#include "print/print_exit.h"
#include "print/run_folder.h"
#include "sketches/bitmap_file.h"

#include <QRegularExpression>

#include <cstdio>

#include <QFile>

namespace vardel {

QString PrintProgramPath(const QString& programDir) {
    return JoinPath(programDir, QStringLiteral("Lumdruk"));
}

bool Czekaj_na_proces(QProcess& process, int timeoutMs) {
    if (process.state() == QProcess::Starting && !process.waitForStarted(-1)) {
        return false;
    }
    if (process.state() == QProcess::NotRunning) {
        // Already over: the wait is fine if there was a process at all.
        return process.error() != QProcess::FailedToStart;
    }
    if (process.waitForFinished(timeoutMs)) {
        return true;
    }
    return process.error() == QProcess::Timedout || process.state() == QProcess::NotRunning;
}

PrintResult StartAndWait(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // The print program says why it failed on its standard error: read here, and passed on to
    // the program's own standard error as it always was.
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1)) {
        return PrintResult::Failure(
            QStringLiteral("Nie można uruchomić programu drukującego %1: %2")
                .arg(program, process.errorString()));
    }
    const bool waited = Czekaj_na_proces(process, -1);
    const QByteArray said = process.readAllStandardError();
    if (!said.isEmpty()) {
        std::fwrite(said.constData(), 1, static_cast<size_t>(said.size()), stderr);
    }
    if (!waited) {
        return PrintResult::Failure(
            QStringLiteral("Nie można doczekać się końca programu drukującego %1.").arg(program));
    }
    if (process.exitStatus() == QProcess::CrashExit) {
        return PrintResult::Failure(
            QStringLiteral("Program drukujący %1 zakończył się nieprawidłowo.").arg(program));
    }
    const int status = process.exitCode();
    if (status == static_cast<int>(PrintExit::Cancelled)) {
        return PrintResult{false, QString(), true};
    }
    if (status != 0) {
        // Its last line is the reason; the lines before it are notes on the way.
        QString reason = QString::fromUtf8(said).trimmed().split(u'\n').last().trimmed();
        reason.remove(QRegularExpression(QStringLiteral("^Lumdruk: ")));
        QString message = PrintExitText(status);
        if (!reason.isEmpty()) {
            message += QStringLiteral("\n(") + reason + u')';
        }
        return PrintResult::Failure(message);
    }
    return {};
}

namespace {

// Runs the job file of the run's folder and, when it went well, keeps its files in the program
// directory.
PrintResult RunJob(PrintMode mode, const PageSource& src) {
    if (PrintResult r =
            StartAndWait(PrintProgramPath(src.programDir), {JobFilePath(RunDirOf(src))});
        !r.ok) {
        return r;
    }
    return KeepInProgramDir(src, mode);
}

}  // namespace

PrintResult RunPrintJob(PrintMode mode, const PageSource& src) {
    if (PrintResult r = WriteJobFile(mode, src.state.Strona, RunDirOf(src)); !r.ok) {
        return r;
    }
    if (PrintResult r = WritePageFiles(src); !r.ok) {
        return r;
    }
    return RunJob(mode, src);
}

PagePreview RenderPagePreview(bool shortPrefix, const PageSource& src, int widthPx) {
    PagePreview preview;
    if (PrintResult r = WritePageFiles(src); !r.ok) {
        preview.message = r.message;
        return preview;
    }
    const PrintMode mode = shortPrefix ? PrintMode::PicturePreviewShort : PrintMode::PicturePreview;
    if (PrintResult r = WriteJobFile(mode, src.state.Strona, RunDirOf(src)); !r.ok) {
        preview.message = r.message;
        return preview;
    }
    // Pictures of an earlier run must not pass for this one's.
    const QString run = RunDirOf(src);
    for (int i = 1; QFile::exists(PagePicturePath(run, i)); ++i) {
        if (!QFile::remove(PagePicturePath(run, i))) {
            preview.message = QStringLiteral("Nie można usunąć starego obrazu strony %1.")
                                  .arg(PagePicturePath(run, i));
            return preview;
        }
    }
    const QString picturePath = PagePicturePath(run);
    if (PrintResult r = RunJob(mode, src); !r.ok) {
        QFile::remove(picturePath);
        preview.message = r.message;
        return preview;
    }
    PagePicture picture = LoadPagePicture(picturePath, widthPx);
    QFile::remove(picturePath);
    preview.ok = !picture.image.isNull();
    preview.message = picture.message;
    preview.page = std::move(picture.image);
    if (preview.ok) {
        preview.pages.push_back(preview.page);
    }
    // The further pages, as far as they came back whole.
    for (int i = 2; QFile::exists(PagePicturePath(run, i)); ++i) {
        const QString path = PagePicturePath(run, i);
        PagePicture next = LoadPagePicture(path, widthPx);
        QFile::remove(path);
        if (preview.ok && !next.image.isNull() && static_cast<int>(preview.pages.size()) == i - 1) {
            preview.pages.push_back(std::move(next.image));
        }
    }
    return preview;
}

}  // namespace vardel
