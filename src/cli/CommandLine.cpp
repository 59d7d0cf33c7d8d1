// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

#include "cli/ComputeCommand.h"
#include "cli/ImportCommand.h"

#include <cstdio>

namespace korvell {

namespace {

const char* const kUsage = "Usage: korvell-cli <command> [options] [arguments]\n"
                           "\n"
                           "Batch work on the coordinate table of products, without a window.\n"
                           "\n"
                           "Commands:\n"
                           "  compute [FILE]   Read a CSV table of products, compute every derived matrix\n"
                           "                   and write the whole table as CSV.\n"
                           "  import           Log in to the questionnaire database, import the scores of\n"
                           "                   a user or a product and write the table as CSV.\n"
                           "\n"
                           "Run 'korvell-cli <command> --help' for the details of a command.\n";

bool isHelp(const QString& arg) {
    return arg == QLatin1String("--help") || arg == QLatin1String("-h") || arg == QLatin1String("help");
}

} // namespace

int CommandLine::run(const QStringList& arguments) {
    if (arguments.size() < 2) {
        writeError(QStringLiteral("no command given; see 'korvell-cli --help'"));
        return ExitBadInput;
    }
    const QString& command = arguments[1];
    if (isHelp(command))
        return writeOut(kUsage) ? ExitOk : ExitFailure;
    const QStringList rest = arguments.mid(2);
    if (command == QLatin1String("compute"))
        return ComputeCommand::run(rest);
    if (command == QLatin1String("import"))
        return ImportCommand::run(rest);
    writeError(QStringLiteral("unknown command '%1'; see 'korvell-cli --help'").arg(command));
    return ExitBadInput;
}

bool CommandLine::writeOut(const QByteArray& text) {
    const auto size = static_cast<std::size_t>(text.size());
    return std::fwrite(text.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0;
}

void CommandLine::writeError(const QString& message) {
    QString line = QStringLiteral("korvell-cli: ") + message;
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray text = line.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
    std::fflush(stderr);
}

} // namespace korvell
