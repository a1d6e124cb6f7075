#include "tests/lumdruk/private_cups.h"

#include <dlfcn.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <csignal>

namespace vardel::lumdruk::test {

namespace {

constexpr int kStartTimeoutMs = 20000;

QString FindProgram(const QString& name) {
    // An ordinary user's PATH often lacks the administrator's directories.
    const QString path = QStandardPaths::findExecutable(name);
    return !path.isEmpty()
               ? path
               : QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"});
}

bool WriteText(const QString& path, const QString& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}

// libcups reads CUPS_SERVER once per thread and keeps it. If Qt's print plugin has already
// loaded the library, it is told to read the variable again; if not, it reads it when loaded.
void ForgetCachedPrintServer() {
    if (void* cups = dlopen("libcups.so.2", RTLD_NOW | RTLD_NOLOAD)) {
        if (auto set = reinterpret_cast<void (*)(const char*)>(dlsym(cups, "cupsSetServer"))) {
            set(nullptr);
        }
        dlclose(cups);
    }
}

}  // namespace

QString PrivateCups::MissingPrograms() {
    QStringList missing;
    for (const QString name : {"cupsd", "lpadmin", "lpstat"}) {
        if (FindProgram(name).isEmpty()) {
            missing << name;
        }
    }
    return missing.join(", ");
}

// The socket file lives in the temporary directory, and a socket path must stay short.
PrivateCups::PrivateCups()
    : dir_((QDir::tempPath().size() > 60 ? QString("/tmp") : QDir::tempPath()) +
           "/vardel-cups-XXXXXX") {
    error_ = Start();
    if (!error_.isEmpty()) {
        error_ += "\n" + Log();
    }
}

PrivateCups::~PrivateCups() {
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(5000)) {
        cupsd_.kill();
        cupsd_.waitForFinished(5000);
    }
}

QString PrivateCups::Path(const QString& relative) const {
    return QDir(dir_.path()).filePath(relative);
}

QString PrivateCups::Server() const {
    return Path("cups.sock");
}

QProcessEnvironment PrivateCups::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", Server());
    // The clients' own settings (client.conf, lpoptions) are read from here, not from /etc/cups,
    // so a default printer set on the machine cannot stand in for this server's.
    env.insert("CUPS_SERVERROOT", Path("client"));
    env.remove("PRINTER");
    env.remove("LPDEST");
    return env;
}

QString PrivateCups::Start() {
    const QString cupsd = FindProgram("cupsd");
    for (const QString sub : {"spool/temp", "log", "cache", "state", "client"}) {
        if (!QDir().mkpath(Path(sub))) {
            return "cannot make " + Path(sub);
        }
    }
    // No network address at all: two tests running at once cannot meet on a port. The tests read
    // what a queue received from the spool.
    const QString conf =
        QString(
            "Listen %1\nBrowsing No\nBrowseLocalProtocols none\nDefaultShared No\nWebInterface No\n"
            "LogLevel warn\nMaxLogSize 0\nPreserveJobFiles Yes\nPreserveJobHistory Yes\n"
            "<Policy default>\n  JobPrivateAccess all\n  JobPrivateValues none\n"
            "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
            "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
            .arg(Server());
    QString files =
        QString(
            "ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/spool/temp\nStateDir %1/state\n"
            "CacheDir %1/cache\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
            "PageLog %1/log/page_log\nPrintcap %1/printcap\n")
            .arg(dir_.path());
    const passwd* user = getpwuid(geteuid());
    const group* grp = getgrgid(getegid());
    if (geteuid() != 0 && user != nullptr && grp != nullptr) {
        // Not root: the server cannot become the lp user and runs as this one.
        files +=
            QString("User %1\nGroup %2\n")
                .arg(QString::fromLocal8Bit(user->pw_name), QString::fromLocal8Bit(grp->gr_name));
    }
    if (!WriteText(Path("cupsd.conf"), conf) || !WriteText(Path("cups-files.conf"), files)) {
        return "cannot write the server's configuration in " + dir_.path();
    }

    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.setWorkingDirectory(dir_.path());
    // Should this test process die without running its destructors, the server goes too.
    cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    cupsd_.start(cupsd, {"-f", "-c", Path("cupsd.conf"), "-s", Path("cups-files.conf")});
    if (!cupsd_.waitForStarted(kStartTimeoutMs)) {
        return "cupsd did not start: " + cupsd_.errorString();
    }
    QElapsedTimer waited;
    waited.start();
    QString lastAnswer;
    while (waited.elapsed() < kStartTimeoutMs) {
        if (cupsd_.state() == QProcess::NotRunning) {
            return "cupsd stopped at once: " + QString::fromLocal8Bit(cupsd_.readAll());
        }
        if (QFile::exists(Server())) {
            QString output;
            const QString error = RunClient("lpstat", {"-r"}, &output);
            if (error.isEmpty() && output.contains("scheduler is running")) {
                return {};
            }
            lastAnswer = error.isEmpty() ? output : error;
        }
        QThread::msleep(100);
    }
    return QString("cupsd did not answer within %1 s: %2")
        .arg(kStartTimeoutMs / 1000)
        .arg(lastAnswer);
}

QString PrivateCups::RunClient(const QString& program, const QStringList& args, QString* output) {
    const QString path = FindProgram(program);
    if (path.isEmpty()) {
        return program + " is not installed";
    }
    QProcess p;
    p.setProcessEnvironment(Environment());
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(path, QStringList{"-h", Server()} + args);
    if (!p.waitForFinished(15000)) {
        return program + " did not finish in time";  // killed with `p`
    }
    *output = QString::fromLocal8Bit(p.readAll());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return QString("%1 %2 failed: %3").arg(program, args.join(u' '), *output);
    }
    return {};
}

QString PrivateCups::AddQueue(const QString& name, bool makeDefault) {
    QString output;
    // A raw queue sends nothing to a device; what it received stays in the spool.
    QString error =
        RunClient("lpadmin", {"-p", name, "-E", "-v", "file:///dev/null", "-m", "raw"}, &output);
    if (error.isEmpty() && makeDefault) {
        error = RunClient("lpadmin", {"-d", name}, &output);
    }
    return error;
}

QString PrivateCups::WaitForCompletedJobs(const QString& queue, int count, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    QString output;
    do {
        if (const QString error = RunClient("lpstat", {"-W", "completed", "-o", queue}, &output);
            !error.isEmpty()) {
            return error;
        }
        const QStringList lines = output.split(u'\n');
        if (std::ranges::count_if(
                lines, [&](const QString& l) { return l.startsWith(queue + u'-'); }) >= count) {
            return {};
        }
        QThread::msleep(200);
    } while (waited.elapsed() < timeoutMs);
    QString pending;
    RunClient("lpstat", {"-o", queue}, &pending);
    return QString("%1 job(s) of %2 not completed within %3 s; completed: %4; pending: %5")
        .arg(count)
        .arg(queue)
        .arg(timeoutMs / 1000)
        .arg(output, pending);
}

QByteArray PrivateCups::JobDocument(int jobId) const {
    QFile f(Path(QString("spool/d%1-001").arg(jobId, 5, 10, QChar(u'0'))));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString PrivateCups::Log() const {
    QFile f(Path("log/error_log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// PRINTER or LPDEST would name a printer in place of the server's default.
PrintServerOverride::PrintServerOverride(const QString& server) {
    for (int k = 0; k < 3; ++k) {
        if (qEnvironmentVariableIsSet(kNames[k])) {
            saved_[k] = qgetenv(kNames[k]);
        }
        qunsetenv(kNames[k]);
    }
    qputenv("CUPS_SERVER", server.toLocal8Bit());
    ForgetCachedPrintServer();
}

PrintServerOverride::~PrintServerOverride() {
    for (int k = 0; k < 3; ++k) {
        saved_[k] ? qputenv(kNames[k], *saved_[k]) : qunsetenv(kNames[k]);
    }
    ForgetCachedPrintServer();
}

}  // namespace vardel::lumdruk::test
