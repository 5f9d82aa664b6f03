#include "ReaderLibrariesModule.h"

const ReaderLibraryFunctions *korvaleReadersModule()
{
    static const ReaderLibraryFunctions functions{
        KORVALE_READERS_VERSION,      ReaderLibrariesCalendar::addOccurrences,
        ReaderLibrariesSqlite::open,  ReaderLibrariesSqlite::rows,
        ReaderLibrariesSqlite::close, ReaderLibrariesPlist::safariBookmarks,
    };
    return &functions;
}
