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
        <source>CapitalizedText</source>
        <translation>Mots En Capitales</translation>
    </message>
    <message>
        <source>Clipboard</source>
        <translation>Presse-papiers</translation>
    </message>
    <message>
        <source>ClipboardUnknowType</source>
        <translation>Type inconnu</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>Vide</translation>
    </message>
    <message>
        <source>FileEditorChangeDate</source>
        <translation>Changer la date</translation>
    </message>
    <message>
        <source>FileEditorDate</source>
        <translation>Modifié le :</translation>
    </message>
    <message>
        <source>FileEditorDuplicate</source>
        <translation>Dupliquer</translation>
    </message>
    <message>
        <source>FileEditorFolder</source>
        <translation>Dossier :</translation>
    </message>
    <message>
        <source>FileEditorName</source>
        <translation>Nom de la copie :</translation>
    </message>
    <message>
        <source>KeyDetectionWindowTitle</source>
        <translation>Détection des touches</translation>
    </message>
    <message>
        <source>LowerCaseText</source>
        <translation>minuscules</translation>
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
        <source>MessageOpenItemFailed</source>
        <translation>Ouverture impossible</translation>
    </message>
    <message>
        <source>MessageOpenURL</source>
        <translation>Ouverture de l’adresse…</translation>
    </message>
    <message>
        <source>NoResultAvailable</source>
        <translation>Aucun résultat</translation>
    </message>
    <message>
        <source>PlainText</source>
        <translation>Texte brut</translation>
    </message>
    <message>
        <source>PopupMenuAccessPath</source>
        <translation>Dossiers parents</translation>
    </message>
    <message>
        <source>PopupMenuClipboardItems</source>
        <translation>Presse-papiers</translation>
    </message>
    <message>
        <source>PopupMenuClose</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>PopupMenuContents</source>
        <translation>Contenu</translation>
    </message>
    <message>
        <source>PopupMenuCopy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>PopupMenuEditItem</source>
        <translation>Modifier…</translation>
    </message>
    <message>
        <source>PopupMenuHelp</source>
        <translation>Visite guidée</translation>
    </message>
    <message>
        <source>PopupMenuHighlightCursor</source>
        <translation>Montrer le pointeur</translation>
    </message>
    <message>
        <source>PopupMenuOpenAccessWindow</source>
        <translation>Ouvrir la fenêtre d’accès</translation>
    </message>
    <message>
        <source>PopupMenuOpenApplication</source>
        <translation>Lancer l’application</translation>
    </message>
    <message>
        <source>PopupMenuOpenBookmark</source>
        <translation>Ouvrir l’adresse</translation>
    </message>
    <message>
        <source>PopupMenuOpenBrowser</source>
        <translation>Ouvrir le navigateur de fichiers</translation>
    </message>
    <message>
        <source>PopupMenuOpenCopy</source>
        <translation>Copier dans le presse-papiers</translation>
    </message>
    <message>
        <source>PopupMenuOpenEditorItem</source>
        <translation>Date et copie…</translation>
    </message>
    <message>
        <source>PopupMenuOpenItem</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>PopupMenuOpenMainApp</source>
        <translation>Gestionnaire Korvale…</translation>
    </message>
    <message>
        <source>PopupMenuPaste</source>
        <translation>Coller</translation>
    </message>
    <message>
        <source>PopupMenuRecentItems</source>
        <translation>Éléments récents</translation>
    </message>
    <message>
        <source>PopupMenuRevealItem</source>
        <translation>Afficher dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>PopupMenuSearch</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>PopupMenuSelectAll</source>
        <translation>Tout sélectionner</translation>
    </message>
    <message>
        <source>PopupMenuSendEmail</source>
        <translation>Envoyer un e-mail à %1</translation>
    </message>
    <message>
        <source>PopupMenuShowCalendar</source>
        <translation>Calendrier</translation>
    </message>
    <message>
        <source>PopupMenuShowClipboard</source>
        <translation>Afficher le presse-papiers</translation>
    </message>
    <message>
        <source>PopupMenuShowInvisible</source>
        <translation>Afficher les fichiers cachés</translation>
    </message>
    <message>
        <source>PopupMenuShowPackageContents</source>
        <translation>Afficher le contenu des paquets</translation>
    </message>
    <message>
        <source>PopupMenuShowReminder</source>
        <translation>Rappels</translation>
    </message>
    <message>
        <source>PopupMenuShowToDo</source>
        <translation>Liste de tâches</translation>
    </message>
    <message>
        <source>PopupMenuUpdateListApps</source>
        <translation>Mettre à jour la liste des applications</translation>
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
        <translation>Tout</translation>
    </message>
    <message>
        <source>PopupTypeApplications</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>PopupTypeBookmarks</source>
        <translation>Signets</translation>
    </message>
    <message>
        <source>PopupTypeClipboard</source>
        <translation>Presse-papiers enregistrés</translation>
    </message>
    <message>
        <source>PopupTypeFiles</source>
        <translation>Fichiers et dossiers</translation>
    </message>
    <message>
        <source>PopupTypeNotes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>PopupTypeProtectedNotes</source>
        <translation>Notes protégées</translation>
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
    <message>
        <source>RecentSearches</source>
        <translation>Recherches récentes</translation>
    </message>
    <message>
        <source>ScanningApplications</source>
        <translation>Recherche de vos applications…</translation>
    </message>
    <message>
        <source>SendEmail</source>
        <translation>Envoyer un e-mail</translation>
    </message>
    <message>
        <source>SurveyStocksInfos</source>
        <translation>%1
Dernier affiché : %2
Alerte au-dessus de : %3
Alerte au-dessous de : %4
(%5)</translation>
    </message>
    <message>
        <source>UpperCaseText</source>
        <translation>MAJUSCULES</translation>
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
<context>
    <name>KeyNames</name>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>OUI</translation>
    </message>
</context>
</TS>
