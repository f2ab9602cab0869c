#pragma once

#include <QStringList>

class QIODevice;

namespace swz {

// Runs one command of the command-line tool; output goes to out, diagnostics to err.
// Returns the process exit code.
int runCli(const QStringList &arguments, QIODevice &out, QIODevice &err);
int runCli(const QStringList &arguments);

} // namespace swz
