#pragma once

struct ReaderLibraryFunctions;

// The readers module (ReaderLibrariesInterface.h), loaded through SuiteModule at the first call
// and kept.
namespace ReaderLibraries {

// The module's functions; null, logged once, when it cannot be loaded: the readers then find
// nothing in calendars, SQLite stores and property lists, and say so in the log.
const ReaderLibraryFunctions *functions();
// For a program that links the implementation in (the fuzz targets, which run without a
// QCoreApplication to find modules beside them): used instead of loading the module. Call it
// before any reading.
void useLinked(const ReaderLibraryFunctions *functions);

} // namespace ReaderLibraries
