// Adds one item to Evolution Data Server's own address book or calendar through its client
// libraries, as a contacts or calendar program of the desktop would.
// Usage: korvale-test-eds-writer contact VCARD | event VEVENT
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

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
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
        if (!e_cal_client_create_object_sync(E_CAL_CLIENT(client), event, E_CAL_OPERATION_FLAG_NONE,
                                             nullptr, nullptr, &error))
            result = failed("event", error);
        g_object_unref(event);
        g_object_unref(client);
        g_object_unref(source);
    } else {
        result = 2;
    }
    g_object_unref(registry);
    return result;
}
