// Adds one item to Evolution Data Server's own address book or calendar through its client
// libraries, as a contacts or calendar program of the desktop would.
// Usage: korvale-test-eds-writer contact VCARD | event VEVENT | contacts FILE | events FILE
//        | carddav URL NAME | caldav URL NAME (a source of the server at URL, no password)
// (FILE: vCards one after the other, or a VCALENDAR whose events are all added at once).
#include <libebook/libebook.h>
#include <libecal/libecal.h>

#include <cstdio>
#include <cstring>

namespace {

int failed(const char *what, GError *error)
{
    std::fprintf(stderr, "%s: %s\n", what, error ? error->message : "failed");
    g_clear_error(&error);
    return 1;
}

int addContacts(ESourceRegistry *registry, const gchar *text)
{
    GError *error = nullptr;
    ESource *source = e_source_registry_ref_builtin_address_book(registry);
    EClient *client = e_book_client_connect_sync(source, guint32(-1), nullptr, &error);
    g_object_unref(source);
    if (!client)
        return failed("address book", error);
    GSList *contacts = nullptr;
    const char *end = "END:VCARD";
    for (const char *card = std::strstr(text, "BEGIN:VCARD"); card;
         card = std::strstr(card + 1, "BEGIN:VCARD")) {
        const char *last = std::strstr(card, end);
        if (!last)
            break;
        gchar *one = g_strndup(card, gsize(last - card) + std::strlen(end));
        contacts = g_slist_prepend(contacts, e_contact_new_from_vcard(one));
        g_free(one);
    }
    const gboolean added = e_book_client_add_contacts_sync(
        E_BOOK_CLIENT(client), contacts, E_BOOK_OPERATION_FLAG_NONE, nullptr, nullptr, &error);
    g_slist_free_full(contacts, g_object_unref);
    g_object_unref(client);
    return added ? 0 : failed("contacts", error);
}

int addEvents(ESourceRegistry *registry, const gchar *text)
{
    GError *error = nullptr;
    ESource *source = e_source_registry_ref_builtin_calendar(registry);
    EClient *client = e_cal_client_connect_sync(source, E_CAL_CLIENT_SOURCE_TYPE_EVENTS,
                                                guint32(-1), nullptr, &error);
    g_object_unref(source);
    if (!client)
        return failed("calendar", error);
    ICalComponent *calendar = i_cal_component_new_from_string(text);
    if (!calendar)
        return failed("calendar text", nullptr);
    // The zones first, so that the events' TZIDs resolve in the calendar.
    for (ICalComponent *zone =
             i_cal_component_get_first_component(calendar, I_CAL_VTIMEZONE_COMPONENT);
         zone; zone = i_cal_component_get_next_component(calendar, I_CAL_VTIMEZONE_COMPONENT)) {
        ICalTimezone *timezone = i_cal_timezone_new();
        i_cal_timezone_set_component(timezone, zone);
        e_cal_client_add_timezone_sync(E_CAL_CLIENT(client), timezone, nullptr, nullptr);
        g_object_unref(timezone);
        g_object_unref(zone);
    }
    GSList *events = nullptr;
    for (ICalComponent *event =
             i_cal_component_get_first_component(calendar, I_CAL_VEVENT_COMPONENT);
         event; event = i_cal_component_get_next_component(calendar, I_CAL_VEVENT_COMPONENT))
        events = g_slist_prepend(events, event);
    const gboolean added = e_cal_client_create_objects_sync(
        E_CAL_CLIENT(client), events, E_CAL_OPERATION_FLAG_NONE, nullptr, nullptr, &error);
    g_slist_free_full(events, g_object_unref);
    g_object_unref(calendar);
    g_object_unref(client);
    return added ? 0 : failed("events", error);
}

// A CardDAV or CalDAV source as the desktop's online accounts add them, kept in sync offline.
int addDavSource(ESourceRegistry *registry, bool book, const char *url, const char *name)
{
    GError *error = nullptr;
    ESource *source = e_source_new(nullptr, nullptr, &error);
    if (!source)
        return failed("source", error);
    e_source_set_display_name(source, name);
    const char *kind = book ? E_SOURCE_EXTENSION_ADDRESS_BOOK : E_SOURCE_EXTENSION_CALENDAR;
    e_source_backend_set_backend_name(E_SOURCE_BACKEND(e_source_get_extension(source, kind)),
                                      book ? "carddav" : "caldav");
    GUri *uri = g_uri_parse(url, G_URI_FLAGS_NONE, &error);
    if (!uri)
        return failed("address", error);
    auto *webdav =
        E_SOURCE_WEBDAV(e_source_get_extension(source, E_SOURCE_EXTENSION_WEBDAV_BACKEND));
    e_source_webdav_set_uri(webdav, uri);
    auto *authentication =
        E_SOURCE_AUTHENTICATION(e_source_get_extension(source, E_SOURCE_EXTENSION_AUTHENTICATION));
    e_source_authentication_set_host(authentication, g_uri_get_host(uri));
    e_source_authentication_set_port(authentication, guint16(g_uri_get_port(uri)));
    e_source_authentication_set_user(authentication, "korvale");
    e_source_authentication_set_method(authentication, "none");
    g_uri_unref(uri);
    e_source_offline_set_stay_synchronized(
        E_SOURCE_OFFLINE(e_source_get_extension(source, E_SOURCE_EXTENSION_OFFLINE)), TRUE);
    const gboolean committed =
        e_source_registry_commit_source_sync(registry, source, nullptr, &error);
    g_object_unref(source);
    return committed ? 0 : failed("commit", error);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    GError *error = nullptr;
    ESourceRegistry *registry = e_source_registry_new_sync(nullptr, &error);
    if (!registry)
        return failed("registry", error);
    int result = 0;
    if (std::strcmp(argv[1], "contact") == 0) {
        ESource *source = e_source_registry_ref_builtin_address_book(registry);
        EClient *client = e_book_client_connect_sync(source, guint32(-1), nullptr, &error);
        if (!client)
            return failed("address book", error);
        EContact *contact = e_contact_new_from_vcard(argv[2]);
        if (!e_book_client_add_contact_sync(E_BOOK_CLIENT(client), contact,
                                            E_BOOK_OPERATION_FLAG_NONE, nullptr, nullptr, &error))
            result = failed("contact", error);
        g_object_unref(contact);
        g_object_unref(client);
        g_object_unref(source);
    } else if (std::strcmp(argv[1], "event") == 0) {
        ESource *source = e_source_registry_ref_builtin_calendar(registry);
        EClient *client = e_cal_client_connect_sync(source, E_CAL_CLIENT_SOURCE_TYPE_EVENTS,
                                                    guint32(-1), nullptr, &error);
        if (!client)
            return failed("calendar", error);
        ICalComponent *event = i_cal_component_new_from_string(argv[2]);
        if (!event)
            return failed("event text", nullptr);
        // An occurrence of its own (RECURRENCE-ID) changes that one time of the event, as a
        // calendar program moves it.
        ICalProperty *recurrence =
            i_cal_component_get_first_property(event, I_CAL_RECURRENCEID_PROPERTY);
        const bool occurrence = recurrence != nullptr;
        if (recurrence)
            g_object_unref(recurrence);
        const gboolean written = occurrence
            ? e_cal_client_modify_object_sync(E_CAL_CLIENT(client), event, E_CAL_OBJ_MOD_THIS,
                                              E_CAL_OPERATION_FLAG_NONE, nullptr, &error)
            : e_cal_client_create_object_sync(E_CAL_CLIENT(client), event,
                                              E_CAL_OPERATION_FLAG_NONE, nullptr, nullptr, &error);
        if (!written)
            result = failed("event", error);
        g_object_unref(event);
        g_object_unref(client);
        g_object_unref(source);
    } else if (std::strcmp(argv[1], "contacts") == 0 || std::strcmp(argv[1], "events") == 0) {
        gchar *text = nullptr;
        if (!g_file_get_contents(argv[2], &text, nullptr, &error))
            return failed("file", error);
        result = std::strcmp(argv[1], "contacts") == 0 ? addContacts(registry, text)
                                                       : addEvents(registry, text);
        g_free(text);
    } else if (std::strcmp(argv[1], "carddav") == 0 || std::strcmp(argv[1], "caldav") == 0) {
        if (argc != 4)
            return 2;
        result = addDavSource(registry, std::strcmp(argv[1], "carddav") == 0, argv[2], argv[3]);
    } else {
        result = 2;
    }
    g_object_unref(registry);
    return result;
}
