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

#include <csignal>

namespace vardel::lumdruk::test {

namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kClientTimeoutMs = 15000;
constexpr int kStopTimeoutMs = 5000;

QString FindProgram(const QString& name) {
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty()) {
        // An ordinary user's PATH often lacks the administrator's directories.
        path = QStandardPaths::findExecutable(
            name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"), QStringLiteral("/sbin"),
                   QStringLiteral("/bin")});
    }
    return path;
}

// The socket file lives in the temporary directory, and a socket path must stay short.
QString DirTemplate() {
    QString base = QDir::tempPath();
    if (base.size() > 60) {
        base = QStringLiteral("/tmp");
    }
    return base + QStringLiteral("/vardel-cups-XXXXXX");
}

bool WriteText(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return f.write(text.toUtf8()) >= 0;
}

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// libcups reads CUPS_SERVER once per thread and keeps it. If Qt's print plugin has already
// loaded the library, it is told to read the variable again; if not, it reads it when loaded.
void ForgetCachedPrintServer() {
    void* cups = dlopen("libcups.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (cups == nullptr) {
        return;
    }
    using SetServer = void (*)(const char*);
    if (auto set = reinterpret_cast<SetServer>(dlsym(cups, "cupsSetServer"))) {
        set(nullptr);
    }
    dlclose(cups);
}

}  // namespace

QString PrivateCups::MissingPrograms() {
    QStringList missing;
    for (const char* name : {"cupsd", "lpadmin", "lpstat"}) {
        if (FindProgram(QString::fromLatin1(name)).isEmpty()) {
            missing << QString::fromLatin1(name);
        }
    }
    return missing.join(QStringLiteral(", "));
}

PrivateCups::PrivateCups() : dir_(DirTemplate()) {
    error_ = Start();
    if (!error_.isEmpty()) {
        error_ += QStringLiteral("\n") + Log();
    }
}

PrivateCups::~PrivateCups() {
    if (cupsd_.state() == QProcess::NotRunning) {
        return;
    }
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(kStopTimeoutMs)) {
        cupsd_.kill();
        cupsd_.waitForFinished(kStopTimeoutMs);
    }
}

QString PrivateCups::Path(const QString& relative) const {
    return QDir(dir_.path()).filePath(relative);
}

QString PrivateCups::Server() const {
    return Path(QStringLiteral("cups.sock"));
}

QProcessEnvironment PrivateCups::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), Server());
    // The clients' own settings (client.conf, lpoptions) are read from here, not from /etc/cups,
    // so a default printer set on the machine cannot stand in for this server's.
    env.insert(QStringLiteral("CUPS_SERVERROOT"), Path(QStringLiteral("client")));
    env.remove(QStringLiteral("PRINTER"));
    env.remove(QStringLiteral("LPDEST"));
    return env;
}

QString PrivateCups::Start() {
    const QString cupsd = FindProgram(QStringLiteral("cupsd"));
    if (cupsd.isEmpty()) {
        return QStringLiteral("cupsd is not installed");
    }
    if (!dir_.isValid()) {
        return QStringLiteral("cannot make a temporary directory: ") + dir_.errorString();
    }
    if (Server().toLocal8Bit().size() >= 100) {
        return QStringLiteral("the socket path is too long: ") + Server();
    }
    for (const char* sub : {"spool/temp", "log", "cache", "state", "client"}) {
        if (!QDir().mkpath(Path(QString::fromLatin1(sub)))) {
            return QStringLiteral("cannot make ") + Path(QString::fromLatin1(sub));
        }
    }

    // No network address at all: two tests running at once cannot meet on a port.
    const QString conf = QStringLiteral(
                             "Listen %1\n"
                             "Browsing No\n"
                             "BrowseLocalProtocols none\n"
                             "DefaultShared No\n"
                             "WebInterface No\n"
                             "LogLevel warn\n"
                             "MaxLogSize 0\n"
                             "# The tests read what a queue received from the spool.\n"
                             "PreserveJobFiles Yes\n"
                             "PreserveJobHistory Yes\n"
                             "<Policy default>\n"
                             "  JobPrivateAccess all\n"
                             "  JobPrivateValues none\n"
                             "  SubscriptionPrivateAccess all\n"
                             "  SubscriptionPrivateValues none\n"
                             "  <Limit All>\n"
                             "    Order deny,allow\n"
                             "  </Limit>\n"
                             "</Policy>\n")
                             .arg(Server());
    QString files = QStringLiteral(
                        "ServerRoot %1\n"
                        "RequestRoot %1/spool\n"
                        "TempDir %1/spool/temp\n"
                        "StateDir %1/state\n"
                        "CacheDir %1/cache\n"
                        "AccessLog %1/log/access_log\n"
                        "ErrorLog %1/log/error_log\n"
                        "PageLog %1/log/page_log\n"
                        "Printcap %1/printcap\n")
                        .arg(dir_.path());
    if (geteuid() != 0) {
        // Not root: the server cannot become the lp user and runs as this one.
        const passwd* user = getpwuid(geteuid());
        const group* grp = getgrgid(getegid());
        if (user != nullptr && grp != nullptr) {
            files += QStringLiteral("User %1\nGroup %2\n")
                         .arg(QString::fromLocal8Bit(user->pw_name),
                              QString::fromLocal8Bit(grp->gr_name));
        }
    }
    const QString confPath = Path(QStringLiteral("cupsd.conf"));
    const QString filesPath = Path(QStringLiteral("cups-files.conf"));
    if (!WriteText(confPath, conf) || !WriteText(filesPath, files)) {
        return QStringLiteral("cannot write the server's configuration in ") + dir_.path();
    }

    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.setWorkingDirectory(dir_.path());
    // Should this test process die without running its destructors, the server goes too.
    cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    cupsd_.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), confPath, QStringLiteral("-s"),
                         filesPath});
    if (!cupsd_.waitForStarted(kStartTimeoutMs)) {
        return QStringLiteral("cupsd did not start: ") + cupsd_.errorString();
    }

    QElapsedTimer waited;
    waited.start();
    QString lastAnswer;
    while (waited.elapsed() < kStartTimeoutMs) {
        if (cupsd_.state() == QProcess::NotRunning) {
            return QStringLiteral("cupsd stopped at once: ") +
                   QString::fromLocal8Bit(cupsd_.readAll());
        }
        if (QFile::exists(Server())) {
            QString output;
            const QString error =
                RunClient(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &output);
            if (error.isEmpty() && output.contains(QStringLiteral("scheduler is running"))) {
                return {};
            }
            lastAnswer = error.isEmpty() ? output : error;
        }
        QThread::msleep(100);
    }
    return QStringLiteral("cupsd did not answer within %1 s: %2")
        .arg(kStartTimeoutMs / 1000)
        .arg(lastAnswer);
}

QString PrivateCups::RunClient(const QString& program, const QStringList& args, QString* output) {
    const QString path = FindProgram(program);
    if (path.isEmpty()) {
        return program + QStringLiteral(" is not installed");
    }
    QProcess p;
    p.setProcessEnvironment(Environment());
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(path, QStringList{QStringLiteral("-h"), Server()} + args);
    if (!p.waitForFinished(kClientTimeoutMs)) {
        p.kill();
        p.waitForFinished(kStopTimeoutMs);
        return program + QStringLiteral(" did not finish in time");
    }
    *output = QString::fromLocal8Bit(p.readAll());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return QStringLiteral("%1 %2 failed: %3").arg(program, args.join(u' '), *output);
    }
    return {};
}

QString PrivateCups::AddQueue(const QString& name, bool makeDefault) {
    QString output;
    // A raw queue sends nothing to a device; what it received stays in the spool.
    QString error =
        RunClient(QStringLiteral("lpadmin"),
                  {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                   QStringLiteral("file:///dev/null"), QStringLiteral("-m"), QStringLiteral("raw")},
                  &output);
    if (error.isEmpty() && makeDefault) {
        error = RunClient(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}, &output);
    }
    return error;
}

QString PrivateCups::WaitForCompletedJobs(const QString& queue, int count, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    QString output;
    do {
        const QString error = RunClient(
            QStringLiteral("lpstat"),
            {QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o"), queue},
            &output);
        if (!error.isEmpty()) {
            return error;
        }
        int completed = 0;
        for (const QString& line : output.split(u'\n')) {
            completed += line.startsWith(queue + u'-') ? 1 : 0;
        }
        if (completed >= count) {
            return {};
        }
        QThread::msleep(200);
    } while (waited.elapsed() < timeoutMs);
    QString pending;
    RunClient(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue}, &pending);
    return QStringLiteral("%1 job(s) of %2 not completed within %3 s; completed: %4; pending: %5")
        .arg(count)
        .arg(queue)
        .arg(timeoutMs / 1000)
        .arg(output, pending);
}

QByteArray PrivateCups::JobDocument(int jobId) const {
    QFile f(Path(QStringLiteral("spool/d%1-001").arg(jobId, 5, 10, QChar(u'0'))));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString PrivateCups::Log() const {
    return ReadText(Path(QStringLiteral("log/error_log")));
}

PrintServerOverride::PrintServerOverride(const QString& server)
    : saved_{{"CUPS_SERVER", false, {}}, {"PRINTER", false, {}}, {"LPDEST", false, {}}} {
    for (Saved& s : saved_) {
        s.set = qEnvironmentVariableIsSet(s.name);
        s.value = qgetenv(s.name);
    }
    qputenv("CUPS_SERVER", server.toLocal8Bit());
    // Either would name a printer in place of the server's default.
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    ForgetCachedPrintServer();
}

PrintServerOverride::~PrintServerOverride() {
    for (const Saved& s : saved_) {
        if (s.set) {
            qputenv(s.name, s.value);
        } else {
            qunsetenv(s.name);
        }
    }
    ForgetCachedPrintServer();
}

}  // namespace vardel::lumdruk::test
