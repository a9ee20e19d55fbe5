#include "core/transfer/ZipFormat.h"

namespace tiradex {

namespace ZipFormat {

DosDateTime ToDosDateTime(const QDateTime &local)
{
    const QDate date = local.date();
    const QTime time = local.time();
    DosDateTime dos;
    // The 7-bit year field cannot hold these dates; without the clamp the
    // arithmetic would wrap into a date decades away.
    if (!date.isValid() || date.year() < 1980) {
        dos.date = (1 << 5) | 1;
        return dos;
    }
    if (date.year() > 2107) {
        dos.date = static_cast<quint16>((127 << 9) | (12 << 5) | 31);
        dos.time = static_cast<quint16>((23 << 11) | (59 << 5) | 29);
        return dos;
    }
    dos.date = static_cast<quint16>(((date.year() - 1980) << 9) | (date.month() << 5) | date.day());
    dos.time =
        static_cast<quint16>((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
    return dos;
}

} // namespace ZipFormat

} // namespace tiradex
