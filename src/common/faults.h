#pragma once

#include <QList>
#include <QString>

namespace swz {

// One failed check: where it was found and the exact text the window shows for it.
// Every check of the configurator returns its faults in check order; a window shows the
// first one, the headless check lists them all.
struct Fault
{
    QString list;    // the grid or list the fault belongs to; empty for a plain parameter check
    int row = 0;     // the row number as the window shows it; 0 when the fault has no row
    QString message; // the complete message text, as the window shows it

    bool operator==(const Fault &) const = default;
};

using Faults = QList<Fault>;

} // namespace swz
