// A print server of the test's own: a cupsd started in a temporary directory, reached through a
// socket file there, so the print tests run on any machine and never touch its printing setup.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace vardel::lumdruk::test {

class PrivateCups {
  public:
    // The programs the server needs that this machine lacks, empty when all are there.
    static QString MissingPrograms();

    // Starts the server and waits (bounded) until it answers; see ok() and error().
    PrivateCups();
    // Stops the server: asked to end, then killed if it does not.
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }

    // The value of CUPS_SERVER that reaches this server.
    QString Server() const;
    // This process's environment with the printing clients pointed at this server alone.
    QProcessEnvironment Environment() const;

    // Adds an enabled queue that accepts jobs and keeps what it receives; returns an error or "".
    QString AddQueue(const QString& name, bool makeDefault);
    // Waits until `count` jobs of `queue` have completed; returns an error or "".
    QString WaitForCompletedJobs(const QString& queue, int count, int timeoutMs);
    // The document of job `jobId` as the server received it from the printing program.
    QByteArray JobDocument(int jobId) const;
    // The server's own error log, to explain a failure.
    QString Log() const;

  private:
    QString Path(const QString& relative) const;
    // Runs a CUPS client program against this server; returns an error or "" and its output.
    QString RunClient(const QString& program, const QStringList& args, QString* output);
    QString Start();

    QTemporaryDir dir_;
    QProcess cupsd_;
    QString error_;
};

// While it lives, this test process's own printing (QPrinter, QPrinterInfo) goes to `server`.
class PrintServerOverride {
  public:
    explicit PrintServerOverride(const QString& server);
    ~PrintServerOverride();
    PrintServerOverride(const PrintServerOverride&) = delete;
    PrintServerOverride& operator=(const PrintServerOverride&) = delete;

  private:
    static constexpr const char* kNames[3] = {"CUPS_SERVER", "PRINTER", "LPDEST"};
    std::optional<QByteArray> saved_[3];  // unset: none
};

}  // namespace vardel::lumdruk::test
