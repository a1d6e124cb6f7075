#include "print/print_job.h"

#include "print/run_folder.h"
#include "sketches/bitmap_file.h"

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
    // The print program's own messages go to the program's standard error; nothing to read.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1)) {
        return PrintResult::Failure(
            QStringLiteral("Nie można uruchomić programu drukującego %1: %2")
                .arg(program, process.errorString()));
    }
    if (!Czekaj_na_proces(process, -1)) {
        return PrintResult::Failure(
            QStringLiteral("Nie można doczekać się końca programu drukującego %1.").arg(program));
    }
    if (process.exitStatus() == QProcess::CrashExit) {
        return PrintResult::Failure(
            QStringLiteral("Program drukujący %1 zakończył się nieprawidłowo.").arg(program));
    }
    if (process.exitCode() != 0) {
        return PrintResult::Failure(
            QStringLiteral("Program drukujący %1 zakończył się błędem (kod %2).")
                .arg(program)
                .arg(process.exitCode()));
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
    const QString picturePath = PagePicturePath(RunDirOf(src));
    if (QFile::exists(picturePath) && !QFile::remove(picturePath)) {
        preview.message =
            QStringLiteral("Nie można usunąć starego obrazu strony %1.").arg(picturePath);
        return preview;
    }
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
    return preview;
}

}  // namespace vardel
