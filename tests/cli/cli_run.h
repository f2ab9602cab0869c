#pragma once

#include "cli/commands.h"

#include <QBuffer>
#include <QByteArray>
#include <QStringList>

// One in-process run of the command-line tool with its outputs captured.
struct CliRun
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

template<typename Command>
CliRun runCommand(Command &&command)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliRun run;
    run.code = command(out, err);
    run.out = out.data();
    run.err = err.data();
    return run;
}

inline CliRun cli(const QStringList &arguments)
{
    return runCommand([&](QIODevice &out, QIODevice &err) { return swz::runCli(arguments, out, err); });
}
