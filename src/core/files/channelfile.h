#pragma once

#include "common/refusal.h"
#include "files/textfiledecoder.h"
#include "station/stationprofile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct ChannelPlan;

// The channel file: the general settings text, the band and module codes and
// every channel row of the table, as INI text in Windows-1251 with CR LF line
// ends. Saving writes what the window holds; loading replaces it.
class ChannelFile
{
public:
    // The loader stops counting channel sections here. The data check takes
    // 99 channels at most, so no useful file comes near; a damaged file of
    // countless tiny sections would otherwise cost gigabytes of table.
    static constexpr int MaxChannelRows = 9999;
    // Real channel files are under 100 KB; a larger file is refused before
    // it is read.
    static constexpr qsizetype MaxFileBytes = 16 * 1024 * 1024;

    // What a file lacks that a saved one holds: the keys the loader took at
    // their defaults, section by section, and the sections it passed over (a
    // name it does not know, a misspelt one, channel numbers behind the first
    // one missing). Nothing for a file the window wrote.
    struct Lacking
    {
        struct Keys
        {
            QString section;
            QStringList keys; // in the loader's order
            bool all = false; // the section gave none of its keys
        };
        QList<Keys> defaulted;
        QStringList unread; // the first MaxListed, in file order
        qsizetype moreUnread = 0;
        int channels = 0; // the channel sections read: 1 to this
        bool isEmpty() const { return defaulted.isEmpty() && unread.isEmpty(); }
    };
    // Lines of sections and names of unread sections a warning lists at most.
    static constexpr int MaxListed = 10;

    struct LoadResult
    {
        TextEncoding encoding = TextEncoding::Windows1251;
        // The station type the band code selected; none when the code names no
        // profile (the current one stays and the code is kept).
        std::optional<StationKind> selectedStation;
        int channelCount = 0;
        // What ends a load after the settings, the codes and the emptied
        // table were taken over: a file without channel section 1, refused
        // with missingSectionText() and no sound.
        MaybeRefusal refusal;
        // Left empty when the load is refused.
        Lacking lacking;
        // Whether the file has a serial number line of its own; a missing
        // one is filled with a stand-in, which is no station's number.
        bool namesSerial = false;
    };

    // The first character of the settings text or of a table cell that the
    // file cannot hold (outside Windows-1251, or a line break), as a refusal
    // that names it and its line or row.
    static MaybeRefusal checkWritable(const ChannelPlan &plan);
    // The whole file: the settings lines as they stand, "Тип" and "ТипВУ" in
    // "Общие установки", then sections 1..N of 18 keys each. A row without
    // check boxes (after a station type change) is written with all three
    // boxes "нет".
    static QString text(const ChannelPlan &plan);
    // text() in Windows-1251; throws PlatformError when checkWritable() refuses.
    static QByteArray encode(const ChannelPlan &plan);
    // Writes the file in one piece, so that a failed save leaves the old file
    // as it was. A refusal writes nothing; a platform failure throws
    // PlatformError with the numbered I/O message or "Не удалось записать в файл ...".
    static MaybeRefusal save(const ChannelPlan &plan, const QString &path);

    // Throws PlatformError (numbered I/O message) when the file cannot be
    // opened for reading and writing, and with a message of its own when it
    // is no regular file, is larger than MaxFileBytes, mixes encodings or
    // does not fit in memory; the plan is then untouched. Otherwise the
    // plan takes the file's content and the result tells what happened.
    static LoadResult load(const QString &path, ChannelPlan &plan);
    // The same from the file's bytes (no limit of size; a text of mixed
    // encodings throws PlatformError, the plan untouched).
    static LoadResult loadBytes(const QByteArray &bytes, ChannelPlan &plan);

    static QString missingSectionText(); // "Fixed row count must be less than row count"
    // The warning of a file that loaded but lacks something, naming what it
    // lacks (grouping neighbouring sections that lack the same keys); empty
    // when it lacks nothing.
    static QString lackingText(const Lacking &lacking);
};
