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
        <source>MessageOpenURL</source>
        <translation>Opening the address…</translation>
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
</TS>
