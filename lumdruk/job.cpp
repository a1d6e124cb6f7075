#include "lumdruk/job.h"

#include "lumdruk/emf.h"
#include "lumdruk/render.h"
#include "texts/print_status.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace vardel::lumdruk {

namespace {

// The status carries a 16-bit page number.
Int16 StatusPage(int page) {
    return static_cast<Int16>(std::clamp(page, -32768, 32767));
}

JobResult Fail(const QString& message, int page = 0, PrintExit exit = PrintExit::Failed) {
    return JobResult{false, page, message, exit};
}

JobResult Done(int lastPage) {
    return JobResult{true, lastPage, {}, PrintExit::Done};
}

JobResult Print(QPrinter& printer, const std::vector<Page>& pages) {
    QString error;
    if (!PrintPages(printer, pages, &error)) {
        return Fail(error, pages.front().number, PrintExit::PrinterRefused);
    }
    return Done(pages.back().number);
}

JobResult Execute(const Job& job, const std::vector<Page>& pages, const QString& directory,
                  JobUi& ui) {
    QString error;
    switch (static_cast<JobMode>(job.mode)) {
        case JobMode::PagePicture: {
            // The page picture of every page: the first as $a1.emf, the next beside it.
            for (size_t i = 0; i < pages.size(); ++i) {
                const QString path =
                    QDir(directory).filePath(PagePictureName(static_cast<int>(i) + 1));
                if (!WriteEmf(path, pages[i], &error, kPreviewPixelsPerMm)) {
                    return Fail(error, job.page, PrintExit::WriteFailed);
                }
            }
            return Done(pages.front().number);
        }
        case JobMode::SaveAs: {
            if (!ui.CanAsk()) {
                return Fail(QStringLiteral("there is no screen to ask where to save on"), job.page);
            }
            const QString path = ui.AskSavePath(directory);
            if (path.isEmpty()) {
                return Fail(QStringLiteral("saving was cancelled"), job.page, PrintExit::Cancelled);
            }
            const int written = SavePages(path, pages, &error);
            if (written == 0) {
                return Fail(error, job.page, PrintExit::WriteFailed);
            }
            return Done(pages[static_cast<size_t>(written) - 1].number);
        }
        case JobMode::DefaultPrinter: {
            const QPrinterInfo info = QPrinterInfo::defaultPrinter();
            if (info.isNull()) {
                return Fail(QStringLiteral("there is no default printer"), job.page,
                            PrintExit::NoPrinter);
            }
            QPrinter printer(info, QPrinter::HighResolution);
            return Print(printer, pages);
        }
        case JobMode::ChoosePrinter: {
            if (!ui.CanAsk()) {
                return Fail(QStringLiteral("there is no screen to choose the printer on"),
                            job.page);
            }
            QPrinter printer(QPrinter::HighResolution);
            if (!ui.ChoosePrinter(printer)) {
                return Fail(QStringLiteral("printing was cancelled"), job.page,
                            PrintExit::Cancelled);
            }
            return Print(printer, pages);
        }
        case JobMode::Clipboard:
            return Fail(QStringLiteral("the page picture on the clipboard is not available on this "
                                       "system; ask for the picture file (mode -2) instead"),
                        job.page);
    }
    return Fail(QStringLiteral("unknown mode %1 in the job file").arg(job.mode), job.page);
}

// The commands before the header end of a page file: what a continuation page repeats when the
// header-only file is missing. A page file without a header end has no header to repeat.
PageFile HeaderPart(const PageFile& page) {
    PageFile header;
    header.directory = page.directory;
    for (const DrawOp& op : page.ops) {
        if (std::holds_alternative<HeaderEndOp>(op)) {
            header.ops.push_back(op);
            return header;
        }
        header.ops.push_back(op);
    }
    header.ops.clear();
    return header;
}

}  // namespace

void RemovePagePictures(const QString& directory) {
    for (int i = 1; QFile::exists(QDir(directory).filePath(PagePictureName(i))); ++i) {
        QFile::remove(QDir(directory).filePath(PagePictureName(i)));
    }
}

std::optional<std::vector<Page>> RenderPageFiles(const QString& pageFile, const QString& headerFile,
                                                 int firstPage, QStringList* notes,
                                                 QString* error) {
    std::optional<PageFile> page = ReadPageFile(pageFile, error);
    if (!page) {
        return std::nullopt;
    }
    for (const QString& n : page->notes) {
        notes->append(QFileInfo(pageFile).fileName() + u' ' + n);
    }
    // The header-only file serves continuation pages alone: without it they repeat the header
    // of the page file.
    QString headerError;
    std::optional<PageFile> header = ReadPageFile(headerFile, &headerError);
    if (!header) {
        notes->append(headerError +
                      QStringLiteral(": continuation pages take the page file's header"));
        header = HeaderPart(*page);
    }
    for (const QString& n : header->notes) {
        notes->append(QFileInfo(headerFile).fileName() + u' ' + n);
    }
    return LayoutPages(*page, *header, firstPage, notes);
}

JobResult RunJob(const QString& jobPath, JobUi& ui,
                 const std::function<void(const QString&)>& log) {
    const QString directory = QFileInfo(jobPath).absolutePath();
    const JobResult result = [&]() -> JobResult {
        const WholeFile file = ReadWholeFile(jobPath, kMaxTextFileBytes);
        if (!file.ok()) {
            return Fail(QStringLiteral("cannot read the job file %1: %2")
                            .arg(jobPath, ReadFailureText(file)));
        }
        QString error;
        const std::optional<Job> job = ParseJobFile(file.bytes, directory, &error);
        if (!job) {
            return Fail(QStringLiteral("%1: %2").arg(jobPath, error));
        }
        if (job->mode == static_cast<int>(JobMode::PagePicture)) {
            // Pictures left by an earlier run must not pass for this job's if this one fails.
            RemovePagePictures(directory);
        }
        QStringList notes;
        const auto pages =
            RenderPageFiles(job->page_file, job->header_file, job->page, &notes, &error);
        for (const QString& n : notes) {
            log(n);
        }
        if (!pages) {
            return Fail(error, job->page);
        }
        return Execute(*job, *pages, directory, ui);
    }();
    if (!result.ok) {
        log(result.message);
    }
    QString error;
    if (!WriteStatusFile(directory, result.ok, result.last_page, &error)) {
        log(error);
        return JobResult{false, result.last_page, error, PrintExit::WriteFailed};
    }
    return result;
}

bool WriteStatusFile(const QString& directory, bool ok, int page, QString* error) {
    const QString path = QDir(directory).filePath(PrintStatusFileName());
    if (const FileResult r = WritePrintStatus(path, ok ? 1.0f : 0.0f, StatusPage(page))) {
        *error = r->message;
        return false;
    }
    return true;
}

}  // namespace vardel::lumdruk
