<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Korvale</name>
    <message>
        <source>AboutTitle</source>
        <translation>About Korvale</translation>
    </message>
    <message>
        <source>AboutVersion</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Activity</source>
        <translation>Activity</translation>
    </message>
    <message>
        <source>ActivityApplication</source>
        <translation>Application</translation>
    </message>
    <message>
        <source>ActivityChartTitle</source>
        <translation>Activity of the Day</translation>
    </message>
    <message>
        <source>ActivityDayAfter</source>
        <translation>Day After ▶</translation>
    </message>
    <message>
        <source>ActivityDayBefore</source>
        <translation>◀ Day Before</translation>
    </message>
    <message>
        <source>ActivityExportCsv</source>
        <translation>Export as CSV…</translation>
    </message>
    <message>
        <source>ActivityLoading</source>
        <translation>Reading the activity…</translation>
    </message>
    <message>
        <source>ActivityMenu</source>
        <translation>Application Activity…</translation>
    </message>
    <message>
        <source>ActivityPeriod</source>
        <translation>Period</translation>
    </message>
    <message numerus="yes">
        <source>ActivityRecorded</source>
        <translation>
            <numerusform>Activity recorded over %n day</numerusform>
            <numerusform>Activity recorded over %n days</numerusform>
        </translation>
    </message>
    <message>
        <source>ActivityReportFrom</source>
        <translation>From</translation>
    </message>
    <message>
        <source>ActivityReportTitle</source>
        <translation>Activity Report</translation>
    </message>
    <message>
        <source>ActivityReportTo</source>
        <translation>to</translation>
    </message>
    <message>
        <source>ActivitySavePng</source>
        <translation>Save as PNG…</translation>
    </message>
    <message>
        <source>ActivityShare</source>
        <translation>Share (%)</translation>
    </message>
    <message>
        <source>ActivityTime</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>AgentNoteEditorTitle</source>
        <translation>Edit note</translation>
    </message>
    <message>
        <source>AgentProtectedNoteEditorTitle</source>
        <translation>Edit protected note</translation>
    </message>
    <message>
        <source>AgreementAccept</source>
        <translation>Accept</translation>
    </message>
    <message>
        <source>AgreementDecline</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>AgreementNote</source>
        <translation>Korvale is free software: you may use, study, share and change it under the terms of the GNU General Public License, version 3 or later.</translation>
    </message>
    <message>
        <source>AgreementTitle</source>
        <translation>Licence</translation>
    </message>
    <message>
        <source>AnswerConfirmHolding</source>
        <translation>These programs say they may lose work: %1.</translation>
    </message>
    <message>
        <source>AnswerConfirmText</source>
        <translation>Programs still open may lose unsaved work.</translation>
    </message>
    <message>
        <source>AnswerConfirmTitle</source>
        <translation>%1?</translation>
    </message>
    <message>
        <source>AnswerExchangeRatesOf</source>
        <translation>rates of %1</translation>
    </message>
    <message>
        <source>AnswerHibernate</source>
        <translation>Hibernate</translation>
    </message>
    <message>
        <source>AnswerLockScreen</source>
        <translation>Lock Screen</translation>
    </message>
    <message>
        <source>AnswerLogOut</source>
        <translation>Log Out</translation>
    </message>
    <message>
        <source>AnswerMenuCloseWindow</source>
        <translation>Close the window</translation>
    </message>
    <message>
        <source>AnswerMenuCopyExpression</source>
        <translation>Copy the expression</translation>
    </message>
    <message>
        <source>AnswerMenuCopyResult</source>
        <translation>Copy the result</translation>
    </message>
    <message>
        <source>AnswerMenuPasteResult</source>
        <translation>Paste the result</translation>
    </message>
    <message>
        <source>AnswerMenuShowWindow</source>
        <translation>Bring to the front</translation>
    </message>
    <message>
        <source>AnswerMinimizedWindowOf</source>
        <translation>Window of %1, minimised</translation>
    </message>
    <message>
        <source>AnswerRestart</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>AnswerShutDown</source>
        <translation>Shut Down</translation>
    </message>
    <message>
        <source>AnswerSuspend</source>
        <translation>Suspend</translation>
    </message>
    <message>
        <source>AnswerSystemAction</source>
        <translation>System action</translation>
    </message>
    <message>
        <source>AnswerWebSearch</source>
        <translation>Search %1 for “%2”</translation>
    </message>
    <message>
        <source>AnswerWindowOf</source>
        <translation>Window of %1</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Application Folders</translation>
    </message>
    <message>
        <source>ApplicationsFound</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>ApplicationsFoundTip</source>
        <translation>The applications found, with their abbreviations, keywords and shortcuts</translation>
    </message>
    <message>
        <source>ApplicationsTip</source>
        <translation>The folders searched for applications</translation>
    </message>
    <message>
        <source>AssignShortcutButton</source>
        <translation>Assign a Shortcut…</translation>
    </message>
    <message>
        <source>AssignShortcutClearButton</source>
        <translation>Clear the Shortcut</translation>
    </message>
    <message>
        <source>BrowserDateAbsolute</source>
        <translation>Give every item this date</translation>
    </message>
    <message>
        <source>BrowserDateCurrent</source>
        <translation>Current date:</translation>
    </message>
    <message>
        <source>BrowserDateFailedTitle</source>
        <translation>Some dates could not be changed</translation>
    </message>
    <message>
        <source>BrowserDateInsideFolder</source>
        <translation>Also change everything inside the selected folders</translation>
    </message>
    <message>
        <source>BrowserDateNew</source>
        <translation>New date:</translation>
    </message>
    <message>
        <source>BrowserDateShift</source>
        <translation>Shift every date by the same amount</translation>
    </message>
    <message numerus="yes">
        <source>BrowserMoreFailures</source>
        <translation>
            <numerusform>…and %n more</numerusform>
            <numerusform>…and %n more</numerusform>
        </translation>
    </message>
    <message>
        <source>BrowserRenameBadName</source>
        <translation>the new name is empty or holds a /</translation>
    </message>
    <message>
        <source>BrowserRenameDigits</source>
        <translation>Digits:</translation>
    </message>
    <message>
        <source>BrowserRenameFailedTitle</source>
        <translation>Some items could not be renamed</translation>
    </message>
    <message>
        <source>BrowserRenameFirstNumber</source>
        <translation>First number:</translation>
    </message>
    <message>
        <source>BrowserRenameKeepExtension</source>
        <translation>Keep each item's extension</translation>
    </message>
    <message>
        <source>BrowserRenameNoFreeName</source>
        <translation>every name up to #999 is taken</translation>
    </message>
    <message>
        <source>BrowserRenameSample</source>
        <translation>New name:</translation>
    </message>
    <message>
        <source>BrowserRenameScheme</source>
        <translation>Naming scheme:</translation>
    </message>
    <message>
        <source>BrowserRenameSchemeHelp</source>
        <translation>%N current name, %X number, %D date (yymmdd), %T time (HH_MM_SS)</translation>
    </message>
    <message>
        <source>BrowserWindowTitle</source>
        <translation>Korvale Browser</translation>
    </message>
    <message>
        <source>CAR</source>
        <translation>car</translation>
    </message>
    <message>
        <source>CELL</source>
        <translation>mobile</translation>
    </message>
    <message>
        <source>CalendarWindowTitle</source>
        <translation>Calendar</translation>
    </message>
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
        <source>ClipboardEmpty</source>
        <translation>Nothing on the clipboard</translation>
    </message>
    <message>
        <source>ClipboardKindHTML</source>
        <translation>Web page content</translation>
    </message>
    <message>
        <source>ClipboardKindPDF</source>
        <translation>PDF document</translation>
    </message>
    <message>
        <source>ClipboardKindPNG</source>
        <translation>PNG picture</translation>
    </message>
    <message>
        <source>ClipboardKindRichText</source>
        <translation>Formatted text</translation>
    </message>
    <message>
        <source>ClipboardKindRichTextPictures</source>
        <translation>Formatted text with pictures</translation>
    </message>
    <message>
        <source>ClipboardKindTIFF</source>
        <translation>TIFF picture</translation>
    </message>
    <message>
        <source>ClipboardKindText</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>ClipboardNoImageRep</source>
        <translation>This picture cannot be shown</translation>
    </message>
    <message>
        <source>ClipboardNotSavedTitle</source>
        <translation>The clipboard entries could not be saved</translation>
    </message>
    <message>
        <source>ClipboardPasteButton</source>
        <translation>Take Clipboard</translation>
    </message>
    <message>
        <source>ClipboardPasteTip</source>
        <translation>Replace the contents with what is on the clipboard now, and its text as the title</translation>
    </message>
    <message>
        <source>ClipboardSecret</source>
        <translation>password manager's secret</translation>
    </message>
    <message>
        <source>ClipboardSecretNotSavedText</source>
        <translation>A password manager marked what is on the clipboard as a secret. It is not kept as a clipboard entry.</translation>
    </message>
    <message>
        <source>ClipboardSecretNotSavedTitle</source>
        <translation>A password is not kept</translation>
    </message>
    <message>
        <source>ClipboardTip</source>
        <translation>Clipboard contents you chose to keep</translation>
    </message>
    <message>
        <source>ClipboardToolSecretNotSaved</source>
        <translation>the clipboard holds a password manager's secret, which is never kept; nothing was saved</translation>
    </message>
    <message>
        <source>ClipboardUnknowType</source>
        <translation>Unknown type</translation>
    </message>
    <message>
        <source>ClipboardWaylandFocusNote</source>
        <translation>In this Wayland session the desktop lets no program read the clipboard in the background: the suite sees what was copied only while one of its windows has the focus.</translation>
    </message>
    <message>
        <source>CornerActivationCorner</source>
        <translation>Corner:</translation>
    </message>
    <message>
        <source>CornerActivationHint</source>
        <translation>The window opens while the pointer is in the corner and the checked keys are held (any key when none is checked).</translation>
    </message>
    <message>
        <source>CornerActivationKeys</source>
        <translation>Keys held:</translation>
    </message>
    <message>
        <source>CornerActivationTitle</source>
        <translation>Opening from a screen corner</translation>
    </message>
    <message>
        <source>CornerBottomLeft</source>
        <translation>Bottom left corner</translation>
    </message>
    <message>
        <source>CornerBottomRight</source>
        <translation>Bottom right corner</translation>
    </message>
    <message>
        <source>CornerTopLeft</source>
        <translation>Top left corner</translation>
    </message>
    <message>
        <source>CornerTopRight</source>
        <translation>Top right corner</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Credits</translation>
    </message>
    <message>
        <source>CreditsText</source>
        <translation>&lt;p&gt;Korvale is written in C++ on &lt;b&gt;Qt 6&lt;/b&gt;. It reads Firefox bookmark backups with &lt;b&gt;LZ4&lt;/b&gt;, the address book and calendars with &lt;b&gt;libical&lt;/b&gt; and &lt;b&gt;SQLite&lt;/b&gt;, Safari property lists with &lt;b&gt;libplist&lt;/b&gt;, previews PDF files with &lt;b&gt;Poppler&lt;/b&gt;, and keeps protected notes with &lt;b&gt;OpenSSL&lt;/b&gt;'s cryptography.&lt;/p&gt;&lt;p&gt;Thanks to everyone who maintains these libraries and the Debian packages that carry them.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>DaemonActivated</source>
        <translation>Korvale agent active (starts at login)</translation>
    </message>
    <message>
        <source>DateSheetTitle</source>
        <translation>Change Dates</translation>
    </message>
    <message>
        <source>DesktopSearchMore</source>
        <translation>Search in %1</translation>
    </message>
    <message>
        <source>DocumentsCutDepth</source>
        <translation>too deep: not entered from %1</translation>
    </message>
    <message>
        <source>DocumentsCutTotal</source>
        <translation>too many entries in all: stopped at %1</translation>
    </message>
    <message>
        <source>EditorAbbreviation</source>
        <translation>Abbreviation:</translation>
    </message>
    <message>
        <source>EditorComment</source>
        <translation>Comment:</translation>
    </message>
    <message>
        <source>EditorHideApps</source>
        <translation>Hide the other applications when the shortcut opens it</translation>
    </message>
    <message>
        <source>EditorKeywords</source>
        <translation>Keywords:</translation>
    </message>
    <message>
        <source>EditorShortcut</source>
        <translation>Shortcut:</translation>
    </message>
    <message>
        <source>EditorTitle</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>Empty</translation>
    </message>
    <message>
        <source>EmptyClipboardHint</source>
        <translation>Clipboard entries you keep are listed here: copy something, then click Add… to keep it.</translation>
    </message>
    <message>
        <source>EmptyNotesHint</source>
        <translation>Your notes are listed here: click New… to write the first one, or Import… to bring some in.</translation>
    </message>
    <message>
        <source>EmptyProtectedNotesHint</source>
        <translation>Notes kept under your password are listed here: click New… to write the first one.</translation>
    </message>
    <message>
        <source>EmptyRemindersHint</source>
        <translation>Reminders stay on screen until you remove them: click Add… to write the first one.</translation>
    </message>
    <message>
        <source>EmptyStocksHint</source>
        <translation>Bookmarks come from your web browsers (Other Data in the manager); watched stocks from the lines “name, Tab, quote address” of StocksSurvey.txt in the data folder.</translation>
    </message>
    <message>
        <source>EmptyToDoHint</source>
        <translation>Your tasks and their due dates are listed here: click Add… to write the first one.</translation>
    </message>
    <message>
        <source>FAX</source>
        <translation>fax</translation>
    </message>
    <message>
        <source>FieldLabelFormat</source>
        <translation>%1:</translation>
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
        <source>FileEditorWindowTitle</source>
        <translation>Date and Duplicate</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Files and Folders</translation>
    </message>
    <message>
        <source>FilesIndexedCount</source>
        <translation>%1 entries indexed</translation>
    </message>
    <message>
        <source>FilesIndexing</source>
        <translation>Indexing… %1 files</translation>
    </message>
    <message>
        <source>FilesScanFolder</source>
        <translation>(contents included)</translation>
    </message>
    <message>
        <source>FilesTip</source>
        <translation>Your own files and folders, always at hand</translation>
    </message>
    <message>
        <source>GlobalShortcutMenu</source>
        <translation>Show the menu-bar menu</translation>
    </message>
    <message>
        <source>GlobalShortcutOpenItems</source>
        <translation>Open %1</translation>
    </message>
    <message>
        <source>GlobalShortcutOpenWindow</source>
        <translation>Open the access window</translation>
    </message>
    <message>
        <source>GlobalShortcutOpenWindowAndItems</source>
        <translation>Open the access window and %1</translation>
    </message>
    <message>
        <source>GlobalShortcutToggle</source>
        <translation>Show or hide the access window</translation>
    </message>
    <message>
        <source>GlobalShortcutsAction</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>GlobalShortcutsBinding</source>
        <translation>The desktop is binding the shortcuts; it may be asking you to confirm them.</translation>
    </message>
    <message>
        <source>GlobalShortcutsHeading</source>
        <translation>The desktop watches these keys for the agent. To change them, open the shortcuts of your desktop's keyboard settings.</translation>
    </message>
    <message>
        <source>GlobalShortcutsKeys</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>GlobalShortcutsNoKeys</source>
        <translation>none yet</translation>
    </message>
    <message>
        <source>GlobalShortcutsRefusedApplication</source>
        <translation>The desktop portal refused the agent's shortcuts: it could not tell which application the agent is. Install the suite's desktop entries (org.korvale.Daemon.desktop) and start the agent again.</translation>
    </message>
    <message>
        <source>GlobalShortcutsRefusedClosed</source>
        <translation>The desktop ended the agent's shortcuts (its settings or a rule of the system). Change a shortcut here to bind them again.</translation>
    </message>
    <message>
        <source>GlobalShortcutsRefusedDeclined</source>
        <translation>The shortcuts were declined in the desktop's dialog. Change a shortcut here for the desktop to ask again.</translation>
    </message>
    <message>
        <source>GlobalShortcutsRefusedOther</source>
        <translation>The desktop portal refused the agent's shortcuts: %1</translation>
    </message>
    <message>
        <source>HOME</source>
        <translation>home</translation>
    </message>
    <message>
        <source>HOME FAX</source>
        <translation>home fax</translation>
    </message>
    <message>
        <source>IPHONE</source>
        <translation>iPhone</translation>
    </message>
    <message>
        <source>ISDN</source>
        <translation>ISDN</translation>
    </message>
    <message>
        <source>IncludeContents</source>
        <translation>Include the folder’s contents</translation>
    </message>
    <message>
        <source>InvalidSystemTitle</source>
        <translation>Korvale cannot run here</translation>
    </message>
    <message>
        <source>ItemEditorTitle</source>
        <translation>Edit Item</translation>
    </message>
    <message>
        <source>KeyActivationHint</source>
        <translation>Hold the keys still for two seconds, or hold them and click Take.</translation>
    </message>
    <message>
        <source>KeyActivationPersonal</source>
        <translation>Hold a key combination of your own:</translation>
    </message>
    <message>
        <source>KeyActivationPredefined</source>
        <translation>Tap a modifier key:</translation>
    </message>
    <message>
        <source>KeyActivationTitle</source>
        <translation>Opening with the keyboard</translation>
    </message>
    <message>
        <source>KeyDetectionWindowTitle</source>
        <translation>Key detection</translation>
    </message>
    <message>
        <source>KeyboardDevicesBox</source>
        <translation>Read the keyboards directly, for the double tap</translation>
    </message>
    <message>
        <source>KeyboardDevicesCorners</source>
        <translation>The screen corners work only in an X11 session: under Wayland no program may know where the pointer is.</translation>
    </message>
    <message>
        <source>KeyboardDevicesExplanation</source>
        <translation>In a Wayland session the agent hears the double tap only by reading the keyboards' devices itself. It then sees every key you press in every program, passwords included; it keeps only which keys are held, and nothing leaves this computer. This stays off unless you turn it on.</translation>
    </message>
    <message>
        <source>KeyboardDevicesNoAccess</source>
        <translation>Your account may not read the keyboards yet, so nothing changes. This command gives it the right; it takes effect once you log out and in again:</translation>
    </message>
    <message>
        <source>KeyboardDevicesNone</source>
        <translation>No keyboard was found among the input devices.</translation>
    </message>
    <message>
        <source>KeyboardDevicesReadable</source>
        <translation>Keyboards your account can read: %1.</translation>
    </message>
    <message>
        <source>ListNameApplications</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>ListNameApplicationsUse</source>
        <translation>Application Use</translation>
    </message>
    <message>
        <source>ListNameClipboard</source>
        <translation>Clipboard Entries</translation>
    </message>
    <message>
        <source>ListNameDocuments</source>
        <translation>Documents</translation>
    </message>
    <message>
        <source>ListNameNotes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>ListNamePreferences</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ListNameProtectedNotes</source>
        <translation>Protected Notes</translation>
    </message>
    <message>
        <source>ListNameReminder</source>
        <translation>Reminders</translation>
    </message>
    <message>
        <source>ListNameStocks</source>
        <translation>Stocks</translation>
    </message>
    <message>
        <source>ListNameToDo</source>
        <translation>To-Do</translation>
    </message>
    <message>
        <source>LowerCaseText</source>
        <translation>lower case</translation>
    </message>
    <message>
        <source>MAIN</source>
        <translation>main</translation>
    </message>
    <message>
        <source>MSG</source>
        <translation>messages</translation>
    </message>
    <message>
        <source>ManagerAdd</source>
        <translation>Add…</translation>
    </message>
    <message>
        <source>ManagerAddFile</source>
        <translation>File…</translation>
    </message>
    <message>
        <source>ManagerAddFolder</source>
        <translation>Folder…</translation>
    </message>
    <message>
        <source>ManagerEdit</source>
        <translation>Edit…</translation>
    </message>
    <message>
        <source>ManagerEditMenu</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>ManagerEditWaits</source>
        <translation>“%1” opens for editing when the open dialog is closed.</translation>
    </message>
    <message>
        <source>ManagerHelpMenu</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ManagerNoApplications</source>
        <translation>No application has been found yet. Korvale is looking in the application folders.</translation>
    </message>
    <message>
        <source>ManagerRemove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>ManagerRescan</source>
        <translation>Rescan</translation>
    </message>
    <message>
        <source>ManagerRescanMenu</source>
        <translation>Rescan Applications</translation>
    </message>
    <message>
        <source>ManagerSearch</source>
        <translation>Search</translation>
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
        <source>MultipleDaemonsText</source>
        <translation>The Korvale agent already runs from %1. Quit it, or start the manager of that copy, before starting this one.</translation>
    </message>
    <message>
        <source>MultipleDaemonsTitle</source>
        <translation>Another copy of Korvale is running</translation>
    </message>
    <message>
        <source>NewInVersion</source>
        <translation>New in This Version</translation>
    </message>
    <message>
        <source>NewInVersionText</source>
        <translation>&lt;ul&gt;&lt;li&gt;&lt;b&gt;Quit&lt;/b&gt; is in the access window's action menu (Ctrl+Q) and at the foot of the tray menu; it asks first.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Help&lt;/b&gt; (Ctrl+?) in the access window opens this tour in the manager.&lt;/li&gt;&lt;li&gt;An empty stock alert limit means no limit on that side.&lt;/li&gt;&lt;li&gt;A folder no file manager can open opens in Korvale's own browser; any other failure to open says why.&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
    <message>
        <source>NoIncludeContents</source>
        <translation>Do not include the folder’s contents</translation>
    </message>
    <message>
        <source>NoReminder</source>
        <translation>No reminder</translation>
    </message>
    <message>
        <source>NoResultAvailable</source>
        <translation>No results</translation>
    </message>
    <message>
        <source>NoToDoItem</source>
        <translation>No to-do items</translation>
    </message>
    <message>
        <source>NoteEditorAbbreviationLabel</source>
        <translation>Abbreviation</translation>
    </message>
    <message>
        <source>NoteEditorKeywordsLabel</source>
        <translation>Keywords</translation>
    </message>
    <message>
        <source>NoteEditorTitle</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>NoteEditorTitleLabel</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>NotesChangePassword</source>
        <translation>Password…</translation>
    </message>
    <message>
        <source>NotesDuplicate</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>NotesExport</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>NotesFindLabel</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>NotesImport</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>NotesMoveToNotes</source>
        <translation>Unprotect</translation>
    </message>
    <message>
        <source>NotesMoveToProtected</source>
        <translation>Protect</translation>
    </message>
    <message>
        <source>NotesNew</source>
        <translation>New…</translation>
    </message>
    <message>
        <source>NotesNotSavedText</source>
        <translation>Your change is kept in this window but not on disk. Check the data folder's space and permissions, then try again.</translation>
    </message>
    <message>
        <source>NotesNotSavedTitle</source>
        <translation>The notes could not be saved</translation>
    </message>
    <message>
        <source>NotesRemove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>NotesReplace</source>
        <translation>Replace…</translation>
    </message>
    <message>
        <source>NotesReplaceLabel</source>
        <translation>Replace with</translation>
    </message>
    <message>
        <source>NotesReplaceTitle</source>
        <translation>Replace in the notes</translation>
    </message>
    <message>
        <source>NotesSearchPlaceholder</source>
        <translation>Search notes</translation>
    </message>
    <message>
        <source>NotesTip</source>
        <translation>Your notes</translation>
    </message>
    <message>
        <source>OKButton</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>OTHER</source>
        <translation>other</translation>
    </message>
    <message>
        <source>OpenFailedLaunch</source>
        <translation>The program did not start. The system log says why (journalctl --user).</translation>
    </message>
    <message>
        <source>OpenFailedNoApplication</source>
        <translation>No application on this computer opens this kind of file.</translation>
    </message>
    <message>
        <source>OpenFailedNoBrowser</source>
        <translation>No file manager is installed, and Korvale's own browser (korvale-browser) could not be found beside the agent.</translation>
    </message>
    <message>
        <source>OpenFailedTitle</source>
        <translation>“%1” could not be opened</translation>
    </message>
    <message>
        <source>OtherData</source>
        <translation>Other Data</translation>
    </message>
    <message>
        <source>OtherDataAddressBookBox</source>
        <translation>Read my address book</translation>
    </message>
    <message>
        <source>OtherDataBookmarksBox</source>
        <translation>Read the bookmarks of my web browsers</translation>
    </message>
    <message>
        <source>OtherDataCalendarBox</source>
        <translation>Read my calendars’ events</translation>
    </message>
    <message>
        <source>OtherDataCalendarFilter</source>
        <translation>Calendar files (*.ics)</translation>
    </message>
    <message>
        <source>OtherDataCalendarPathsTitle</source>
        <translation>Also read these calendar files and folders:</translation>
    </message>
    <message>
        <source>OtherDataContactsFilter</source>
        <translation>vCard files (*.vcf *.vcard)</translation>
    </message>
    <message>
        <source>OtherDataContactsPathsTitle</source>
        <translation>Also read these vCard files and folders:</translation>
    </message>
    <message>
        <source>OtherDataFaviconsBox</source>
        <translation>Fetch the bookmarks’ site icons</translation>
    </message>
    <message>
        <source>OtherDataKindCalendar</source>
        <translation>calendar</translation>
    </message>
    <message>
        <source>OtherDataKindContacts</source>
        <translation>address book</translation>
    </message>
    <message>
        <source>OtherDataNote</source>
        <translation>Korvale reads these from your own programs and finds them in the access window.</translation>
    </message>
    <message>
        <source>OtherDataOriginEds</source>
        <translation>through Evolution Data Server</translation>
    </message>
    <message>
        <source>OtherDataOriginEdsFiles</source>
        <translation>Evolution's files</translation>
    </message>
    <message>
        <source>OtherDataOriginKde</source>
        <translation>KDE folder</translation>
    </message>
    <message>
        <source>OtherDataOriginThunderbird</source>
        <translation>in Thunderbird</translation>
    </message>
    <message>
        <source>OtherDataOriginUser</source>
        <translation>named in the preferences</translation>
    </message>
    <message>
        <source>OtherDataSourcesAsking</source>
        <translation>Asking the agent…</translation>
    </message>
    <message>
        <source>OtherDataSourcesNoAgent</source>
        <translation>The agent is not running: the address books and calendars it reads show here once it runs.</translation>
    </message>
    <message>
        <source>OtherDataSourcesNone</source>
        <translation>No address book or calendar found. The agent looks in Evolution Data Server, Thunderbird, KDE's folders and the paths below.</translation>
    </message>
    <message>
        <source>OtherDataSourcesTitle</source>
        <translation>Found at the agent's last reading</translation>
    </message>
    <message>
        <source>OtherDataTip</source>
        <translation>Bookmarks, contacts and calendars read from your programs</translation>
    </message>
    <message>
        <source>PAGER</source>
        <translation>pager</translation>
    </message>
    <message>
        <source>PREF</source>
        <translation>preferred</translation>
    </message>
    <message>
        <source>PasswordAgainText</source>
        <translation>Type the same password again: your protected notes will be encrypted under it.</translation>
    </message>
    <message>
        <source>PasswordChooseText</source>
        <translation>Choose a password for your protected notes.</translation>
    </message>
    <message>
        <source>PasswordSheetText</source>
        <translation>Type the password of your protected notes.</translation>
    </message>
    <message>
        <source>PasswordSheetTitle</source>
        <translation>Protected notes</translation>
    </message>
    <message>
        <source>PasswordsDifferText</source>
        <translation>The password typed the second time is not the first one. Nothing was changed; try again.</translation>
    </message>
    <message>
        <source>PasswordsDifferTitle</source>
        <translation>The passwords differ</translation>
    </message>
    <message>
        <source>PathListAddFile</source>
        <translation>Add File…</translation>
    </message>
    <message>
        <source>PathListAddFolder</source>
        <translation>Add Folder…</translation>
    </message>
    <message>
        <source>PathListRemove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>PlainText</source>
        <translation>Plain text</translation>
    </message>
    <message>
        <source>PopupMenuAccessPath</source>
        <translation>Enclosing folders</translation>
    </message>
    <message>
        <source>PopupMenuBrowserOpenItem</source>
        <translation>Browse here</translation>
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
        <source>PopupMenuModify</source>
        <translation>Modify</translation>
    </message>
    <message>
        <source>PopupMenuModifyDate</source>
        <translation>Change dates…</translation>
    </message>
    <message>
        <source>PopupMenuModifyName</source>
        <translation>Rename…</translation>
    </message>
    <message>
        <source>PopupMenuOpenAccessWindow</source>
        <translation>Open the access window</translation>
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
        <translation>Date and duplicate…</translation>
    </message>
    <message>
        <source>PopupMenuOpenInBrowser</source>
        <translation>Open in the file browser</translation>
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
        <source>PopupMenuQuit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>PopupMenuRecentItems</source>
        <translation>Recent items</translation>
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
        <source>PopupMenuShowParent</source>
        <translation>Enclosing folder</translation>
    </message>
    <message>
        <source>PopupMenuShowRawPath</source>
        <translation>Show raw paths</translation>
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
        <source>PopupMenuToDoDoneItem</source>
        <translation>Done / not done</translation>
    </message>
    <message>
        <source>PopupMenuToDoNextDayItem</source>
        <translation>Postpone by a day</translation>
    </message>
    <message>
        <source>PopupMenuToDoNextMonthItem</source>
        <translation>Postpone by a month</translation>
    </message>
    <message>
        <source>PopupMenuToDoNextWeekItem</source>
        <translation>Postpone by a week</translation>
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
        <source>PreferencesActivity</source>
        <translation>Application activity</translation>
    </message>
    <message>
        <source>PreferencesAnswers</source>
        <translation>Answers</translation>
    </message>
    <message>
        <source>PreferencesAnswersCalculator</source>
        <translation>Calculations, units and currencies</translation>
    </message>
    <message>
        <source>PreferencesAnswersFetchExchangeRates</source>
        <translation>Download exchange rates when those on disk are more than a day old</translation>
    </message>
    <message>
        <source>PreferencesAnswersSystemActions</source>
        <translation>System actions (lock, log out, suspend, restart, shut down)</translation>
    </message>
    <message>
        <source>PreferencesAnswersWebKeywords</source>
        <translation>Web keywords ("g quokka" searches Google)</translation>
    </message>
    <message>
        <source>PreferencesAnswersWindows</source>
        <translation>Open windows, by their title</translation>
    </message>
    <message>
        <source>PreferencesCenterAccessWindow</source>
        <translation>Open the access window in the middle of the screen</translation>
    </message>
    <message>
        <source>PreferencesControlClickInMenuBar</source>
        <translation>Ctrl-click the top of the screen for the Korvale menu</translation>
    </message>
    <message>
        <source>PreferencesDesktopSearch</source>
        <translation>The desktop's search</translation>
    </message>
    <message>
        <source>PreferencesDesktopSearchNone</source>
        <translation>No search provider or runner is installed.</translation>
    </message>
    <message>
        <source>PreferencesDesktopSearchNote</source>
        <translation>Rows from these applications come below the agent's own, as they answer.</translation>
    </message>
    <message>
        <source>PreferencesMenu</source>
        <translation>Preferences…</translation>
    </message>
    <message>
        <source>PreferencesPriorityAddresses</source>
        <translation>Contacts:</translation>
    </message>
    <message>
        <source>PreferencesPriorityApplications</source>
        <translation>Applications:</translation>
    </message>
    <message>
        <source>PreferencesPriorityBookmarks</source>
        <translation>Bookmarks:</translation>
    </message>
    <message>
        <source>PreferencesPriorityFiles</source>
        <translation>Files:</translation>
    </message>
    <message>
        <source>PreferencesPriorityNotes</source>
        <translation>Notes:</translation>
    </message>
    <message>
        <source>PreferencesRanking</source>
        <translation>Ranking of the results (higher first)</translation>
    </message>
    <message>
        <source>PreferencesRecordApplicationsUse</source>
        <translation>Record which applications I use, for the activity report</translation>
    </message>
    <message>
        <source>PreferencesRecordApplicationsUseTip</source>
        <translation>Switched off, nothing more is recorded; what was recorded stays.</translation>
    </message>
    <message>
        <source>PreferencesResetFilter</source>
        <translation>Show every kind of item each time the window opens</translation>
    </message>
    <message>
        <source>PreferencesRevealCursor</source>
        <translation>Double-press to show the pointer:</translation>
    </message>
    <message>
        <source>PreferencesShowIconInPopupMenus</source>
        <translation>Icons in menus</translation>
    </message>
    <message>
        <source>PreferencesShowKeysDetection</source>
        <translation>Show the keys window</translation>
    </message>
    <message>
        <source>PreferencesShowKeysDetectionAuto</source>
        <translation>Show the keys window when keys stay down over 10 seconds</translation>
    </message>
    <message>
        <source>PreferencesTitle</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>PreferencesWebAddress</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>PreferencesWebAddressTip</source>
        <translation>The query takes the place of &lt;&lt;QUERY&gt;&gt; in the address.</translation>
    </message>
    <message>
        <source>PreferencesWebKeyword</source>
        <translation>Keyword</translation>
    </message>
    <message>
        <source>PreferencesWebKeywordAdd</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>PreferencesWebKeywordRemove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>PreferencesWebSite</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>PreferencesWindow</source>
        <translation>Access window</translation>
    </message>
    <message>
        <source>ProtectedNotes</source>
        <translation>Protected Notes</translation>
    </message>
    <message numerus="yes">
        <source>ProtectedNotesDamagedText</source>
        <translation>
            <numerusform>%n protected note is damaged. The file that holds it will be kept aside, beside the new one, when your notes are next saved.</numerusform>
            <numerusform>%n protected notes are damaged. The file that holds them will be kept aside, beside the new one, when your notes are next saved.</numerusform>
        </translation>
    </message>
    <message>
        <source>ProtectedNotesDamagedTitle</source>
        <translation>Some protected notes could not be read</translation>
    </message>
    <message>
        <source>ProtectedNotesKeptAsideText</source>
        <translation>The file they were in before is kept, unchanged, as %1. Remove it once your notes open as they should.</translation>
    </message>
    <message>
        <source>ProtectedNotesKeptAsideTitle</source>
        <translation>Your protected notes were saved anew</translation>
    </message>
    <message>
        <source>ProtectedNotesTip</source>
        <translation>Notes kept encrypted under a pass phrase</translation>
    </message>
    <message>
        <source>ProtectedNotesUnavailableText</source>
        <translation>The part of Korvale that encrypts them (libkorvale-crypto.so) is missing or does not load. Nothing was changed: reinstall Korvale, then try again.</translation>
    </message>
    <message>
        <source>ProtectedNotesUnavailableTitle</source>
        <translation>The protected notes cannot be opened</translation>
    </message>
    <message>
        <source>QuickHelp</source>
        <translation>Quick Help</translation>
    </message>
    <message>
        <source>QuickHelpText</source>
        <translation>&lt;h3&gt;The access window&lt;/h3&gt;&lt;p&gt;Double-tap &lt;b&gt;Super&lt;/b&gt; to open it. Type a few letters of what you want: an application, a file, a note, a clipboard entry. &lt;b&gt;Return&lt;/b&gt; opens the selection, &lt;b&gt;Alt+Return&lt;/b&gt; shows it in the file manager, &lt;b&gt;Space&lt;/b&gt; previews a file, the &lt;b&gt;right arrow&lt;/b&gt; opens its menu, &lt;b&gt;Escape&lt;/b&gt; closes the window.&lt;/p&gt;&lt;h3&gt;Your own words&lt;/h3&gt;&lt;p&gt;Give an application or a file an &lt;b&gt;abbreviation&lt;/b&gt; or &lt;b&gt;keywords&lt;/b&gt; in this manager: they find it first. A &lt;b&gt;shortcut&lt;/b&gt; opens it from anywhere.&lt;/p&gt;&lt;h3&gt;Files and folders&lt;/h3&gt;&lt;p&gt;The access window searches the files and folders listed here by their names, and, for a folder whose contents are included, the names of the files and folders inside it at any depth (hidden ones, caches and other disks left out); the contents of Documents, Desktop and Downloads are included from the start. The contents of files are not searched.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>QuickHelpTip</source>
        <translation>How to use Korvale in a few lines</translation>
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
        <source>Reminder</source>
        <translation>Reminders</translation>
    </message>
    <message>
        <source>ReminderAddCalendarEntriesBox</source>
        <translation>Remind me of today’s and tomorrow’s calendar events</translation>
    </message>
    <message>
        <source>ReminderAddToDoItemsBox</source>
        <translation>Remind me of to-do items due within five days</translation>
    </message>
    <message>
        <source>ReminderColorBlue</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>ReminderColorGreen</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>ReminderColorRed</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>ReminderColorYellow</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>ReminderEditorColor</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>ReminderHideWindow</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>ReminderListTitle</source>
        <translation>Reminders</translation>
    </message>
    <message>
        <source>ReminderShowList</source>
        <translation>Show the reminders</translation>
    </message>
    <message>
        <source>ReminderTip</source>
        <translation>Reminders and the calendar</translation>
    </message>
    <message>
        <source>RenameSheetTitle</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>RevealCursorAlt</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>RevealCursorCtrl</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>RevealCursorOff</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>RevealCursorSuper</source>
        <translation>Super</translation>
    </message>
    <message>
        <source>SCHOOL</source>
        <translation>school</translation>
    </message>
    <message>
        <source>SaveFailedBusy</source>
        <translation>Another program kept it locked while saving.</translation>
    </message>
    <message>
        <source>SaveFailedDiskFull</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>SaveFailedKept</source>
        <translation>Your change is kept and will be saved again with your next change.</translation>
    </message>
    <message>
        <source>SaveFailedNotAFile</source>
        <translation>Something that is not a file stands in its place (%1): remove it, and it will be saved there.</translation>
    </message>
    <message>
        <source>SaveFailedOther</source>
        <translation>The system said: %1.</translation>
    </message>
    <message>
        <source>SaveFailedPermission</source>
        <translation>You do not have permission to write in the data folder.</translation>
    </message>
    <message>
        <source>SaveFailedReadOnly</source>
        <translation>The disk is read-only.</translation>
    </message>
    <message>
        <source>SaveFailedTitle</source>
        <translation>“%1” could not be saved</translation>
    </message>
    <message>
        <source>ScanningApplications</source>
        <translation>Listing your applications…</translation>
    </message>
    <message>
        <source>SearchActivityAll</source>
        <translation>All</translation>
    </message>
    <message>
        <source>SearchActivityHigh</source>
        <translation>Used in the last week</translation>
    </message>
    <message>
        <source>SearchActivityLow</source>
        <translation>Used in the last 6 months</translation>
    </message>
    <message>
        <source>SearchActivityMiddle</source>
        <translation>Used in the last month</translation>
    </message>
    <message>
        <source>SearchActivityNone</source>
        <translation>Never used</translation>
    </message>
    <message>
        <source>SearchActivityVeryLow</source>
        <translation>Used at least once</translation>
    </message>
    <message>
        <source>SearchDebianPackages</source>
        <translation>In the Debian Packages</translation>
    </message>
    <message>
        <source>SearchFlathub</source>
        <translation>In Flathub</translation>
    </message>
    <message>
        <source>SearchGoogle</source>
        <translation>With Google</translation>
    </message>
    <message>
        <source>SearchOnWeb</source>
        <translation>Search the Web</translation>
    </message>
    <message>
        <source>SendEmail</source>
        <translation>Send e-mail</translation>
    </message>
    <message>
        <source>ShortCut</source>
        <translation>Shortcuts</translation>
    </message>
    <message>
        <source>ShortCutTip</source>
        <translation>How the access window is brought up</translation>
    </message>
    <message>
        <source>ShortcutChange</source>
        <translation>Change…</translation>
    </message>
    <message>
        <source>ShortcutCornerBox</source>
        <translation>Open it when the pointer reaches a screen corner:</translation>
    </message>
    <message>
        <source>ShortcutKeyBox</source>
        <translation>Open the access window with the keyboard:</translation>
    </message>
    <message>
        <source>ShortcutSheetText</source>
        <translation>Hold the keys of the shortcut still for two seconds, or press them and click Take.</translation>
    </message>
    <message>
        <source>ShortcutSheetTitle</source>
        <translation>Item Shortcut</translation>
    </message>
    <message>
        <source>ShortcutTake</source>
        <translation>Take</translation>
    </message>
    <message>
        <source>ShortcutTapFourTimes</source>
        <translation>tapped four times</translation>
    </message>
    <message>
        <source>ShortcutTapThrice</source>
        <translation>tapped three times</translation>
    </message>
    <message>
        <source>ShortcutTapTwice</source>
        <translation>tapped twice</translation>
    </message>
    <message>
        <source>ShortcutWaylandNote</source>
        <translation>This is a Wayland session: the desktop lets no other program watch the keyboard or the pointer, so these gestures are not seen. In your desktop's keyboard settings, bind a key to this command instead:</translation>
    </message>
    <message>
        <source>Socket</source>
        <translation>Socket</translation>
    </message>
    <message>
        <source>StockEditorAboveLabel</source>
        <translation>Alert when above:</translation>
    </message>
    <message>
        <source>StockEditorAddressLabel</source>
        <translation>Quote address:</translation>
    </message>
    <message>
        <source>StockEditorBelowLabel</source>
        <translation>Alert when below:</translation>
    </message>
    <message>
        <source>StockEditorHint</source>
        <translation>The survey also alerts when the quote moved by more than 1 % since it was last shown.</translation>
    </message>
    <message>
        <source>StockEditorTitle</source>
        <translation>Stock survey entry</translation>
    </message>
    <message>
        <source>StockSurveyTitle</source>
        <translation>Stock survey</translation>
    </message>
    <message>
        <source>SurveyStocksInfos</source>
        <translation>%1
Last shown: %2
Alert below: %3
Alert above: %4
(%5)</translation>
    </message>
    <message>
        <source>SymbolicLink</source>
        <translation>Symbolic link</translation>
    </message>
    <message>
        <source>SystemQuitButton</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>SystemRequiredLeopard</source>
        <translation>Korvale needs Qt %1 or later; this system has Qt %2.</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>text</translation>
    </message>
    <message>
        <source>ToDo</source>
        <translation>To-Do</translation>
    </message>
    <message>
        <source>ToDoEditorDate</source>
        <translation>Due</translation>
    </message>
    <message>
        <source>ToDoEditorDone</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>ToDoTip</source>
        <translation>Things to do</translation>
    </message>
    <message>
        <source>ToolCannotReadInput</source>
        <translation>cannot read standard input</translation>
    </message>
    <message>
        <source>ToolClipboardCannotServe</source>
        <translation>cannot start the program that serves the clipboard</translation>
    </message>
    <message>
        <source>ToolClipboardNoDisplay</source>
        <translation>no clipboard to use (%1)</translation>
    </message>
    <message>
        <source>ToolClipboardNoEntries</source>
        <translation>no entry %1: there are no clipboard entries</translation>
    </message>
    <message>
        <source>ToolClipboardNotANumber</source>
        <translation>"%1" is not an entry number (1, 2, ... as "list" shows them)</translation>
    </message>
    <message>
        <source>ToolClipboardNotTaken</source>
        <translation>the clipboard could not be taken; it is unchanged</translation>
    </message>
    <message>
        <source>ToolClipboardNotWritten</source>
        <translation>%1 could not be written: %2 Nothing was saved</translation>
    </message>
    <message>
        <source>ToolClipboardNothing</source>
        <translation>the clipboard holds nothing that can be kept; nothing was saved</translation>
    </message>
    <message>
        <source>ToolClipboardOutOfRange</source>
        <translation>no entry %1: the entries are numbered 1 to %2</translation>
    </message>
    <message>
        <source>ToolClipboardUnreadable</source>
        <translation>entry %1 holds nothing readable; the clipboard is unchanged</translation>
    </message>
    <message>
        <source>ToolClipboardUsage</source>
        <translation>Usage:
  korvale-clipboard list           the entries, numbered from 1:
                                   NUMBER&lt;TAB&gt;TITLE&lt;TAB&gt;TYPE
  korvale-clipboard save TITLE     keep what is on the clipboard now as TITLE,
                                   and print its number
  korvale-clipboard restore N      put entry N back on the clipboard
Exit status: 0 done, 1 failed (the reason on standard error), 2 bad usage.
</translation>
    </message>
    <message>
        <source>ToolDataCannotKeepAside</source>
        <translation>%1 cannot be read (%2) nor moved aside; nothing was written</translation>
    </message>
    <message>
        <source>ToolDataJsonError</source>
        <translation>%1; nothing was written</translation>
    </message>
    <message>
        <source>ToolDataJsonShape</source>
        <translation>the JSON must be a list or a dictionary; nothing was written</translation>
    </message>
    <message>
        <source>ToolDataKeptAside</source>
        <translation>%1 could not be read (%2); kept aside as %3</translation>
    </message>
    <message>
        <source>ToolDataNotWritten</source>
        <translation>%1 could not be written</translation>
    </message>
    <message>
        <source>ToolDataUnreadable</source>
        <translation>%1: not a readable data file (%2)</translation>
    </message>
    <message>
        <source>ToolDataUsage</source>
        <translation>Usage:
  korvale-data dump FILE      print a list or dictionary file as JSON
  korvale-data load FILE      write FILE from the JSON on standard input
  korvale-data path           print the data folder
  korvale-data preferences    print the preferences file's path
FILE is a path, or the name of a file in the data folder ("Notes.krvdata").
</translation>
    </message>
    <message>
        <source>ToolKeptAs</source>
        <translation>the previous %1 is kept as %2</translation>
    </message>
    <message>
        <source>ToolNoSuchFile</source>
        <translation>%1: no such file</translation>
    </message>
    <message>
        <source>ToolNotesCryptoUnavailable</source>
        <translation>the protected notes cannot be opened: their encryption module libkorvale-crypto.so is missing or does not load (reinstall Korvale); nothing was changed</translation>
    </message>
    <message numerus="yes">
        <source>ToolNotesDamaged</source>
        <translation>
            <numerusform>%n protected note of %1 could not be read; the file will be kept aside at the next save</numerusform>
            <numerusform>%n protected notes of %1 could not be read; the file will be kept aside at the next save</numerusform>
        </translation>
    </message>
    <message>
        <source>ToolNotesExportedUnencrypted</source>
        <translation>%1 holds the protected notes unencrypted</translation>
    </message>
    <message numerus="yes">
        <source>ToolNotesImported</source>
        <translation>
            <numerusform>%n note imported</numerusform>
            <numerusform>%n notes imported</numerusform>
        </translation>
    </message>
    <message>
        <source>ToolNotesNeedsTitle</source>
        <translation>a note needs a title</translation>
    </message>
    <message>
        <source>ToolNotesNoPassword</source>
        <translation>no password on the first line of standard input</translation>
    </message>
    <message>
        <source>ToolNotesNoSuchTitle</source>
        <translation>no note is titled "%1"</translation>
    </message>
    <message>
        <source>ToolNotesNoneInFile</source>
        <translation>%1 holds no note</translation>
    </message>
    <message>
        <source>ToolNotesNotSealed</source>
        <translation>a note could not be sealed.</translation>
    </message>
    <message>
        <source>ToolNotesNotWritten</source>
        <translation>%1 could not be written: %2 Nothing was changed</translation>
    </message>
    <message>
        <source>ToolNotesRepeatPassword</source>
        <translation>%1 takes this password as its own: repeat it on the second line of standard input; nothing was changed</translation>
    </message>
    <message>
        <source>ToolNotesUsage</source>
        <translation>Usage: korvale-notes [--protected] COMMAND
  list            print the notes' titles, one a line
  show TITLE      print the text of the note with this title
  add TITLE       add a note whose text is standard input
  import FILE     add the notes of a text file (title TAB text TAB ..., one a line)
  export FILE     write every note to FILE in that form ("-": standard output)
--protected works on the protected notes: the first line of standard input is the
password, and for add the text follows it. When add or import gives the password to
a file that has no protected note yet, or rewrites one of the first format, the
second line must repeat the password (the text then follows it).
Exit status: 0 done, 1 failed (nothing changed), 2 wrong usage, 3 wrong password
or not repeated (nothing changed).
</translation>
    </message>
    <message>
        <source>ToolNotesWrongPassword</source>
        <translation>wrong password; nothing was changed</translation>
    </message>
    <message>
        <source>ToolSearchAgentSilent</source>
        <translation>the agent did not answer (%1); reading the stored lists</translation>
    </message>
    <message>
        <source>ToolSearchNotAList</source>
        <translation>%1 does not hold a list; searching the other lists</translation>
    </message>
    <message>
        <source>ToolSearchProtected</source>
        <translation>the protected notes are searched in the agent only, after the password</translation>
    </message>
    <message>
        <source>ToolSearchUnreadable</source>
        <translation>cannot read %1 (%2); searching the other lists</translation>
    </message>
    <message>
        <source>ToolSearchUsage</source>
        <translation>Usage: korvale-search [--type N] [--json] [--files] QUERY
  --type N   0 all (default), 1 applications, 2 files, 3 bookmarks,
             4 contacts, 5 notes, 9 clipboard history
  --json     print the results as a JSON array
  --files    read the stored lists even when the agent runs
Prints one result per line: kind, title, path or address, separated by tabs.
</translation>
    </message>
    <message>
        <source>TourBack</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>TourDone</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>TourNext</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>TourPage1</source>
        <translation>Double-tap the Super key anywhere: the access window opens.</translation>
    </message>
    <message>
        <source>TourPage2</source>
        <translation>Type a few letters: applications, files and notes are found as you type. Return opens.</translation>
    </message>
    <message>
        <source>TourPage3</source>
        <translation>The right arrow opens the row’s menu: a folder shows what it holds, and the folders it lies in.</translation>
    </message>
    <message>
        <source>TourTitle</source>
        <translation>Welcome to Korvale</translation>
    </message>
    <message>
        <source>UncorrectPasswordText</source>
        <translation>This password does not open your protected notes.</translation>
    </message>
    <message>
        <source>UncorrectPasswordTitle</source>
        <translation>Wrong password</translation>
    </message>
    <message>
        <source>UpperCaseText</source>
        <translation>UPPER CASE</translation>
    </message>
    <message>
        <source>VIDEO</source>
        <translation>video</translation>
    </message>
    <message>
        <source>VOICE</source>
        <translation>phone</translation>
    </message>
    <message>
        <source>WORK</source>
        <translation>work</translation>
    </message>
    <message>
        <source>WORK FAX</source>
        <translation>work fax</translation>
    </message>
    <message>
        <source>Welcome</source>
        <translation>Welcome</translation>
    </message>
    <message>
        <source>WelcomeText</source>
        <translation>Korvale keeps your applications, files, notes and clipboard within reach. Open the access window with %1, type a few letters, press Return.</translation>
    </message>
    <message>
        <source>WelcomeTextNoGesture</source>
        <translation>Korvale keeps your applications, files, notes and clipboard within reach. Open the access window from Korvale’s icon in the panel, type a few letters, press Return.</translation>
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
        <source>Command</source>
        <translation>Super</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Backspace</translation>
    </message>
    <message>
        <source>DownArrow</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Enter</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>F10</source>
        <translation>F10</translation>
    </message>
    <message>
        <source>F11</source>
        <translation>F11</translation>
    </message>
    <message>
        <source>F12</source>
        <translation>F12</translation>
    </message>
    <message>
        <source>F13</source>
        <translation>F13</translation>
    </message>
    <message>
        <source>F14</source>
        <translation>F14</translation>
    </message>
    <message>
        <source>F15</source>
        <translation>F15</translation>
    </message>
    <message>
        <source>F16</source>
        <translation>F16</translation>
    </message>
    <message>
        <source>F17</source>
        <translation>F17</translation>
    </message>
    <message>
        <source>F18</source>
        <translation>F18</translation>
    </message>
    <message>
        <source>F19</source>
        <translation>F19</translation>
    </message>
    <message>
        <source>F2</source>
        <translation>F2</translation>
    </message>
    <message>
        <source>F3</source>
        <translation>F3</translation>
    </message>
    <message>
        <source>F4</source>
        <translation>F4</translation>
    </message>
    <message>
        <source>F5</source>
        <translation>F5</translation>
    </message>
    <message>
        <source>F6</source>
        <translation>F6</translation>
    </message>
    <message>
        <source>F7</source>
        <translation>F7</translation>
    </message>
    <message>
        <source>F8</source>
        <translation>F8</translation>
    </message>
    <message>
        <source>F9</source>
        <translation>F9</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>LeftArrow</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>NumLock</source>
        <translation>Num Lock</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>PageDown</source>
        <translation>Page Down</translation>
    </message>
    <message>
        <source>PageUp</source>
        <translation>Page Up</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>RightArrow</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>SpaceBar</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Suppression</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>UpArrow</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>YES</translation>
    </message>
    <message>
        <source>fn</source>
        <translation>Fn</translation>
    </message>
</context>
<context>
    <name>Installer</name>
    <message>
        <source>AppVersion</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>CancelButton</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ContinueButton</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>ContinueRemovedButton</source>
        <translation>I removed it, continue</translation>
    </message>
    <message>
        <source>CopyInfo</source>
        <translation>• copies %1</translation>
    </message>
    <message>
        <source>CopyProcess</source>
        <translation>Copying %1 to %2…</translation>
    </message>
    <message>
        <source>CopyProcessError</source>
        <translation>%1 could not be copied.</translation>
    </message>
    <message>
        <source>DesktopCopyLeft</source>
        <translation>%1 stays where it was; a copy of it that could not be removed is at %2.</translation>
    </message>
    <message>
        <source>DesktopMoveSplit</source>
        <translation>%1 is now whole at %2; what is left of it at %3 could not be removed.</translation>
    </message>
    <message>
        <source>ERROR !</source>
        <translation>ERROR!</translation>
    </message>
    <message>
        <source>ErrorCopying</source>
        <translation>A file could not be copied.</translation>
    </message>
    <message>
        <source>ErrorLaunchApplication</source>
        <translation>A program could not be started.</translation>
    </message>
    <message>
        <source>ErrorMovingToDesktop</source>
        <translation>An item could not be moved to the desktop.</translation>
    </message>
    <message>
        <source>ErrorMovingToTrash</source>
        <translation>An item could not be moved to the Trash.</translation>
    </message>
    <message>
        <source>ErrorQuitProcess</source>
        <translation>A program did not quit.</translation>
    </message>
    <message>
        <source>ErrorTrashText</source>
        <translation>“%1” could not be moved to the Trash, nor to the desktop. Remove it yourself, then continue; or interrupt.</translation>
    </message>
    <message>
        <source>ErrorTrashTitle</source>
        <translation>The Trash refused an item</translation>
    </message>
    <message>
        <source>InformationButton</source>
        <translation>What it does…</translation>
    </message>
    <message>
        <source>InstallAlertNewVersionText</source>
        <translation>%1 will be installed for you.</translation>
    </message>
    <message>
        <source>InstallAlertText</source>
        <translation>The installed copy of %1 will be replaced (it goes to the Trash). Your settings and data are kept.</translation>
    </message>
    <message>
        <source>InstallAlertTitle</source>
        <translation>Install?</translation>
    </message>
    <message>
        <source>InstallButton</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>InstallInfo</source>
        <translation>Installing %1 does this:</translation>
    </message>
    <message>
        <source>InstallationAbortedByUserText</source>
        <translation>You stopped the run; the steps done so far stay done.</translation>
    </message>
    <message>
        <source>InstallationAbortedByUserTitle</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>InstallationAbortedWithErrorsText</source>
        <translation>The run stopped:
%1The product and the install folder are shown in the file manager.</translation>
    </message>
    <message>
        <source>InstallationAbortedWithErrorsTitle</source>
        <translation>Stopped on an error</translation>
    </message>
    <message>
        <source>InstallationCompletedText</source>
        <translation>%1 is installed. Start it now?</translation>
    </message>
    <message>
        <source>InstallationCompletedTitle</source>
        <translation>Installed</translation>
    </message>
    <message>
        <source>InstallationDeletedAbortedWithErrorsText</source>
        <translation>The run stopped:
%1A copy is still installed; it is shown in the file manager.</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Installing %1</translation>
    </message>
    <message>
        <source>InterruptButton</source>
        <translation>Interrupt</translation>
    </message>
    <message>
        <source>LaunchButton</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>LaunchInfo</source>
        <translation>• offers to start %1 at the end</translation>
    </message>
    <message>
        <source>LaunchProcess</source>
        <translation>Starting %1…</translation>
    </message>
    <message>
        <source>LaunchProcessError</source>
        <translation>%1 could not be started.</translation>
    </message>
    <message>
        <source>NewsButton</source>
        <translation>What’s new</translation>
    </message>
    <message>
        <source>NoQuitProcess</source>
        <translation>%1 is not running.</translation>
    </message>
    <message>
        <source>NoVersionInstall</source>
        <translation>%1 is not installed yet.</translation>
    </message>
    <message>
        <source>NoVersionUninstall</source>
        <translation>%1 is not installed: there is nothing to uninstall, apart from what a previous copy may have left.</translation>
    </message>
    <message>
        <source>OKButton</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>QuitButton</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>QuitInfo</source>
        <translation>• quits the programs of %1 that are running</translation>
    </message>
    <message>
        <source>QuitProcess</source>
        <translation>Quitting %1…</translation>
    </message>
    <message>
        <source>QuitProcessError</source>
        <translation>%1 did not quit.</translation>
    </message>
    <message>
        <source>RemoveSettingsOption</source>
        <translation>Also remove my settings and data</translation>
    </message>
    <message>
        <source>ScriptMissingText</source>
        <translation>There is nothing to install here: the installer's script %1 is missing.

This copy of qor-installer is the program alone, as the build leaves it. Build the installer folder, which carries the script and the suite, then run the program in it:</translation>
    </message>
    <message>
        <source>SettingsFolderButton</source>
        <translation>Show the installer’s files</translation>
    </message>
    <message>
        <source>SimulateTrashErrorOption</source>
        <translation>Simulate a Trash error</translation>
    </message>
    <message>
        <source>StopButton</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>StoreButton</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>The script file 'installscript.txt' is not correct.</source>
        <translation>The script file “installscript.txt” is not correct.</translation>
    </message>
    <message>
        <source>TrashInfo</source>
        <translation>• moves %1 to the Trash</translation>
    </message>
    <message>
        <source>TrashItem</source>
        <translation>Moving %1 to the Trash…</translation>
    </message>
    <message>
        <source>TrashItemError</source>
        <translation>%1 could not be removed.</translation>
    </message>
    <message>
        <source>UninstallAlertText</source>
        <translation>%1 will be removed with your settings and data: notes, lists and preferences go to the Trash.</translation>
    </message>
    <message>
        <source>UninstallAlertTitle</source>
        <translation>Uninstall?</translation>
    </message>
    <message>
        <source>UninstallButton</source>
        <translation>Uninstall</translation>
    </message>
    <message>
        <source>UninstallIgnoreSettingsAlertText</source>
        <translation>%1 will be removed. Your settings and data are kept.</translation>
    </message>
    <message>
        <source>UninstallInfo</source>
        <translation>Uninstalling %1 does this:</translation>
    </message>
    <message>
        <source>UninstallationCompletedText</source>
        <translation>%1 is uninstalled.</translation>
    </message>
    <message>
        <source>UninstallationCompletedTitle</source>
        <translation>Uninstalled</translation>
    </message>
    <message>
        <source>Uninstalling</source>
        <translation>Uninstalling %1</translation>
    </message>
    <message>
        <source>VersionInstall</source>
        <translation>Version %1 of %2 is installed. Installing replaces it with this version.</translation>
    </message>
    <message>
        <source>VersionInstallSameVersion</source>
        <translation>Version %1 of %2 is already installed. Installing again replaces it with the same version.</translation>
    </message>
    <message>
        <source>VersionUninstall</source>
        <translation>Uninstalling removes version %1 of %2.</translation>
    </message>
    <message>
        <source>WindowTitle</source>
        <translation>%1 Installer</translation>
    </message>
    <message>
        <source>WindowTitleNoProduct</source>
        <translation>Installer</translation>
    </message>
</context>
</TS>
