<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Korvale</name>
    <message>
        <source>CancelButton</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>CapitalizedText</source>
        <translation>Capitalised Words</translation>
    </message>
    <message>
        <source>Clipboard</source>
        <translation>Clipboard</translation>
    </message>
    <message>
        <source>ClipboardUnknowType</source>
        <translation>Unknown type</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>Empty</translation>
    </message>
    <message>
        <source>FileEditorChangeDate</source>
        <translation>Change Date</translation>
    </message>
    <message>
        <source>FileEditorDate</source>
        <translation>Modified:</translation>
    </message>
    <message>
        <source>FileEditorDuplicate</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>FileEditorFolder</source>
        <translation>Folder:</translation>
    </message>
    <message>
        <source>FileEditorName</source>
        <translation>Copy name:</translation>
    </message>
    <message>
        <source>KeyDetectionWindowTitle</source>
        <translation>Key detection</translation>
    </message>
    <message>
        <source>LowerCaseText</source>
        <translation>lower case</translation>
    </message>
    <message>
        <source>MessageCopyItem</source>
        <translation>Copied to the clipboard</translation>
    </message>
    <message>
        <source>MessageCopyToPasteboard</source>
        <translation>Back on the clipboard</translation>
    </message>
    <message>
        <source>MessageOpenItem</source>
        <translation>Opening…</translation>
    </message>
    <message>
        <source>MessageOpenItemFailed</source>
        <translation>Could not be opened</translation>
    </message>
    <message>
        <source>MessageOpenURL</source>
        <translation>Opening the address…</translation>
    </message>
    <message>
        <source>NoResultAvailable</source>
        <translation>No results</translation>
    </message>
    <message>
        <source>PlainText</source>
        <translation>Plain text</translation>
    </message>
    <message>
        <source>PopupMenuAccessPath</source>
        <translation>Enclosing Folders</translation>
    </message>
    <message>
        <source>PopupMenuClipboardItems</source>
        <translation>Clipboard</translation>
    </message>
    <message>
        <source>PopupMenuClose</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>PopupMenuContents</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>PopupMenuCopy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>PopupMenuEditItem</source>
        <translation>Edit…</translation>
    </message>
    <message>
        <source>PopupMenuHelp</source>
        <translation>Quick tour</translation>
    </message>
    <message>
        <source>PopupMenuHighlightCursor</source>
        <translation>Show pointer</translation>
    </message>
    <message>
        <source>PopupMenuOpenAccessWindow</source>
        <translation>Open the Access Window</translation>
    </message>
    <message>
        <source>PopupMenuOpenApplication</source>
        <translation>Launch application</translation>
    </message>
    <message>
        <source>PopupMenuOpenBookmark</source>
        <translation>Open address</translation>
    </message>
    <message>
        <source>PopupMenuOpenBrowser</source>
        <translation>Open file browser</translation>
    </message>
    <message>
        <source>PopupMenuOpenCopy</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>PopupMenuOpenEditorItem</source>
        <translation>Date and Duplicate…</translation>
    </message>
    <message>
        <source>PopupMenuOpenItem</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>PopupMenuOpenMainApp</source>
        <translation>Korvale manager…</translation>
    </message>
    <message>
        <source>PopupMenuPaste</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>PopupMenuRecentItems</source>
        <translation>Recent Items</translation>
    </message>
    <message>
        <source>PopupMenuRevealItem</source>
        <translation>Show in file manager</translation>
    </message>
    <message>
        <source>PopupMenuSearch</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>PopupMenuSelectAll</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>PopupMenuSendEmail</source>
        <translation>Send e-mail to %1</translation>
    </message>
    <message>
        <source>PopupMenuShowCalendar</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>PopupMenuShowClipboard</source>
        <translation>Show clipboard</translation>
    </message>
    <message>
        <source>PopupMenuShowInvisible</source>
        <translation>Show hidden files</translation>
    </message>
    <message>
        <source>PopupMenuShowPackageContents</source>
        <translation>Show package contents</translation>
    </message>
    <message>
        <source>PopupMenuShowReminder</source>
        <translation>Reminders</translation>
    </message>
    <message>
        <source>PopupMenuShowToDo</source>
        <translation>To-do list</translation>
    </message>
    <message>
        <source>PopupMenuUpdateListApps</source>
        <translation>Update application list</translation>
    </message>
    <message>
        <source>PopupMenuVolumes</source>
        <translation>Volumes</translation>
    </message>
    <message>
        <source>PopupTypeAddressBook</source>
        <translation>Contacts</translation>
    </message>
    <message>
        <source>PopupTypeAll</source>
        <translation>All</translation>
    </message>
    <message>
        <source>PopupTypeApplications</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>PopupTypeBookmarks</source>
        <translation>Bookmarks</translation>
    </message>
    <message>
        <source>PopupTypeClipboard</source>
        <translation>Clipboard entries</translation>
    </message>
    <message>
        <source>PopupTypeFiles</source>
        <translation>Files and folders</translation>
    </message>
    <message>
        <source>PopupTypeNotes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>PopupTypeProtectedNotes</source>
        <translation>Protected notes</translation>
    </message>
    <message>
        <source>QuitButton</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>QuitText</source>
        <translation>The access window, the shortcuts and the reminders stay off until Korvale is started again.</translation>
    </message>
    <message>
        <source>QuitTitle</source>
        <translation>Quit Korvale?</translation>
    </message>
    <message>
        <source>RecentSearches</source>
        <translation>Recent searches</translation>
    </message>
    <message>
        <source>ScanningApplications</source>
        <translation>Listing your applications…</translation>
    </message>
    <message>
        <source>SendEmail</source>
        <translation>Send e-mail</translation>
    </message>
    <message>
        <source>SurveyStocksInfos</source>
        <translation>%1
Last shown: %2
Alert above: %3
Alert below: %4
(%5)</translation>
    </message>
    <message>
        <source>UpperCaseText</source>
        <translation>UPPER CASE</translation>
    </message>
</context>
<context>
    <name>QOR_StringUtils</name>
    <message>
        <source>StringUtils_%d Byte</source>
        <translation>%L1 byte</translation>
    </message>
    <message>
        <source>StringUtils_%d Bytes</source>
        <translation>%L1 bytes</translation>
    </message>
    <message>
        <source>StringUtils_%d GB</source>
        <translation>%L1 GB</translation>
    </message>
    <message>
        <source>StringUtils_%d KB</source>
        <translation>%L1 kB</translation>
    </message>
    <message>
        <source>StringUtils_%d MB</source>
        <translation>%L1 MB</translation>
    </message>
    <message>
        <source>StringUtils_%d TB</source>
        <translation>%L1 TB</translation>
    </message>
    <message>
        <source>StringUtils_LanguageLocal</source>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>KeyNames</name>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>YES</translation>
    </message>
</context>
</TS>
