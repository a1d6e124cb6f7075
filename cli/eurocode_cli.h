// vardel-calc's code options: the choice between the PN-B and the PN-EN checks and the PN-EN
// inputs, which override the settings file's; the PN-EN results in the summary and the JSON.
#pragma once

#include "calc/stop.h"
#include "state/design_case.h"

#include <QCommandLineParser>
#include <QJsonObject>
#include <QTextStream>

#include <optional>

namespace vardel {

// The code options as given: each one overrides its settings-file value.
struct EurocodeOptions {
    std::optional<Int16> norma;
    EurocodeInputs inputs;  // the fields below say which of them were given
    bool plate = false, tube = false, block = false, concrete = false, cracked = false,
         boltClass = false, hef = false, head = false, annex = false;
};

QList<QCommandLineOption> EurocodeCommandLineOptions();

// The code options of a parsed command line: an empty text, or the reason one is wrong.
QString TakeEurocodeOptions(const QCommandLineParser& parser, EurocodeOptions& o);

// Puts the given options into the state read from the settings file.
void ApplyEurocodeOptions(const EurocodeOptions& o, DesignCase& s);

// After the calculate command (which runs the PN-EN checks when they are chosen): the PN-EN
// input it refused, in words, for a wrong command line (exit 2) rather than a stop (exit 1).
QString EurocodeRefusal(const DesignCase& s, const std::optional<Stop>& stop);

// The "en" object of the JSON and the summary lines, for a design with valid PN-EN results.
QJsonObject EurocodeJson(const DesignCase& s);
void EurocodeSummary(const DesignCase& s, QTextStream& out);

}  // namespace vardel
