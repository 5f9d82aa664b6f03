<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Korvale</name>
    <message>
        <source>CancelButton</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>MessageCopyItem</source>
        <translation>Copié dans le presse-papiers</translation>
    </message>
    <message>
        <source>MessageCopyToPasteboard</source>
        <translation>Remis dans le presse-papiers</translation>
    </message>
    <message>
        <source>MessageOpenItem</source>
        <translation>Ouverture…</translation>
    </message>
    <message>
        <source>MessageOpenURL</source>
        <translation>Ouverture de l’adresse…</translation>
    </message>
    <message>
        <source>QuitButton</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>QuitText</source>
        <translation>La fenêtre d’accès, les raccourcis et les rappels restent inactifs jusqu’au prochain démarrage de Korvale.</translation>
    </message>
    <message>
        <source>QuitTitle</source>
        <translation>Quitter Korvale ?</translation>
    </message>
</context>
<context>
    <name>QOR_StringUtils</name>
    <message>
        <source>StringUtils_%d Byte</source>
        <translation>%L1 octet</translation>
    </message>
    <message>
        <source>StringUtils_%d Bytes</source>
        <translation>%L1 octets</translation>
    </message>
    <message>
        <source>StringUtils_%d GB</source>
        <translation>%L1 Go</translation>
    </message>
    <message>
        <source>StringUtils_%d KB</source>
        <translation>%L1 ko</translation>
    </message>
    <message>
        <source>StringUtils_%d MB</source>
        <translation>%L1 Mo</translation>
    </message>
    <message>
        <source>StringUtils_%d TB</source>
        <translation>%L1 To</translation>
    </message>
    <message>
        <source>StringUtils_LanguageLocal</source>
        <translation>fr</translation>
    </message>
</context>
</TS>
