#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the Evolution Data Server module (libkorvale-eds.so, on libedataserver, libebook and
// libecal) offers the address book and calendar readers, which load it at the first reading in a
// session where EDS can be started: an agent elsewhere never maps GLib's object system nor EDS's
// libraries. Built with the programs from the same sources, so standard C++ types cross; no GLib
// type does. Only reads: nothing here adds, changes or removes an item or a source.

struct EdsSource {
    enum class Kind { AddressBook, Calendar };
    Kind kind = Kind::AddressBook;
    std::string uid;
    std::string displayName;
    // The backend's name: "local", "carddav", "caldav", "webcal", "google", "contacts"...
    std::string backend;
};

// One occurrence of an event, as EDS's own instance generation gives it.
struct EdsEventInstance {
    std::string summary;
    // A time in a zone (or UTC): the instant, in seconds since 1970.
    bool hasInstant = false;
    std::int64_t instant = 0;
    // A date, or a floating time: the wall-clock fields, read in the local zone.
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct EdsFunctions {
    // The enabled address books and calendars the registry knows; false (error set) when the
    // registry cannot be reached.
    bool (*listSources)(std::vector<EdsSource> &sources, std::string &error);
    // Every contact of one address book, each as vCard 3.0 text.
    bool (*readContacts)(const std::string &uid, std::vector<std::string> &cards,
                         std::string &error);
    // The instances of one calendar's events starting in [from, to) (seconds since 1970),
    // recurrences expanded and moved or cancelled occurrences applied by EDS; `zone` is the IANA
    // name floating times are read in.
    bool (*readEvents)(const std::string &uid, std::int64_t from, std::int64_t to,
                       const std::string &zone, std::vector<EdsEventInstance> &instances,
                       std::string &error);
    // Starts watching every enabled source: `changed` is called, on the module's own thread,
    // with a source's uid when its items change, and with an empty uid when the sources do
    // (one added, removed, enabled or disabled). One watch at a time; a second call replaces
    // the callback. Returns at once: the views are opened on the module's thread.
    void (*watch)(std::function<void(const std::string &uid)> changed);
    // Ends the watch without waiting; the callback is not called once this returns.
    void (*stopWatching)();
};

#define KORVALE_EDS_MODULE_FILE "libkorvale-eds.so"
#define KORVALE_EDS_MODULE_ENTRY "korvaleEdsModule"
using EdsEntry = const EdsFunctions *(*)();
