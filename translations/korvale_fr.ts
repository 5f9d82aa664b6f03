<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Korvale</name>
    <message>
        <source>AboutTitle</source>
        <translation>À propos de Korvale</translation>
    </message>
    <message>
        <source>AboutVersion</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Activity</source>
        <translation>Activité</translation>
    </message>
    <message>
        <source>ActivityApplication</source>
        <translation>Application</translation>
    </message>
    <message>
        <source>ActivityChartTitle</source>
        <translation>Activité du jour</translation>
    </message>
    <message>
        <source>ActivityDayAfter</source>
        <translation>Jour suivant ▶</translation>
    </message>
    <message>
        <source>ActivityDayBefore</source>
        <translation>◀ Jour précédent</translation>
    </message>
    <message>
        <source>ActivityExportCsv</source>
        <translation>Exporter en CSV…</translation>
    </message>
    <message>
        <source>ActivityLoading</source>
        <translation>Lecture de l’activité…</translation>
    </message>
    <message>
        <source>ActivityMenu</source>
        <translation>Activité des applications…</translation>
    </message>
    <message>
        <source>ActivityPeriod</source>
        <translation>Période</translation>
    </message>
    <message numerus="yes">
        <source>ActivityRecorded</source>
        <translation>
            <numerusform>Activité enregistrée sur %n jour</numerusform>
            <numerusform>Activité enregistrée sur %n jours</numerusform>
        </translation>
    </message>
    <message>
        <source>ActivityReportFrom</source>
        <translation>Du</translation>
    </message>
    <message>
        <source>ActivityReportTitle</source>
        <translation>Rapport d’activité</translation>
    </message>
    <message>
        <source>ActivityReportTo</source>
        <translation>au</translation>
    </message>
    <message>
        <source>ActivitySavePng</source>
        <translation>Enregistrer en PNG…</translation>
    </message>
    <message>
        <source>ActivityShare</source>
        <translation>Part (%)</translation>
    </message>
    <message>
        <source>ActivityTime</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>AgentNoteEditorTitle</source>
        <translation>Modifier la note</translation>
    </message>
    <message>
        <source>AgentProtectedNoteEditorTitle</source>
        <translation>Modifier la note protégée</translation>
    </message>
    <message>
        <source>AgreementAccept</source>
        <translation>Accepter</translation>
    </message>
    <message>
        <source>AgreementDecline</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>AgreementNote</source>
        <translation>Korvale est un logiciel libre : vous pouvez l’utiliser, l’étudier, le partager et le modifier selon les termes de la Licence publique générale GNU, version 3 ou ultérieure.</translation>
    </message>
    <message>
        <source>AgreementTitle</source>
        <translation>Licence</translation>
    </message>
    <message>
        <source>AnswerConfirmHolding</source>
        <translation>Ces programmes disent pouvoir perdre du travail : %1.</translation>
    </message>
    <message>
        <source>AnswerConfirmText</source>
        <translation>Les programmes encore ouverts peuvent perdre ce qui n’est pas enregistré.</translation>
    </message>
    <message>
        <source>AnswerConfirmTitle</source>
        <translation>%1 ?</translation>
    </message>
    <message>
        <source>AnswerExchangeRatesOf</source>
        <translation>taux du %1</translation>
    </message>
    <message>
        <source>AnswerHibernate</source>
        <translation>Mettre en hibernation</translation>
    </message>
    <message>
        <source>AnswerLockScreen</source>
        <translation>Verrouiller l’écran</translation>
    </message>
    <message>
        <source>AnswerLogOut</source>
        <translation>Se déconnecter</translation>
    </message>
    <message>
        <source>AnswerMenuCloseWindow</source>
        <translation>Fermer la fenêtre</translation>
    </message>
    <message>
        <source>AnswerMenuCopyExpression</source>
        <translation>Copier l’expression</translation>
    </message>
    <message>
        <source>AnswerMenuCopyResult</source>
        <translation>Copier le résultat</translation>
    </message>
    <message>
        <source>AnswerMenuPasteResult</source>
        <translation>Coller le résultat</translation>
    </message>
    <message>
        <source>AnswerMenuShowWindow</source>
        <translation>Mettre au premier plan</translation>
    </message>
    <message>
        <source>AnswerMinimizedWindowOf</source>
        <translation>Fenêtre de %1, réduite</translation>
    </message>
    <message>
        <source>AnswerRestart</source>
        <translation>Redémarrer</translation>
    </message>
    <message>
        <source>AnswerShutDown</source>
        <translation>Éteindre</translation>
    </message>
    <message>
        <source>AnswerSuspend</source>
        <translation>Mettre en veille</translation>
    </message>
    <message>
        <source>AnswerSystemAction</source>
        <translation>Action du système</translation>
    </message>
    <message>
        <source>AnswerWebSearch</source>
        <translation>Chercher « %2 » sur %1</translation>
    </message>
    <message>
        <source>AnswerWindowOf</source>
        <translation>Fenêtre de %1</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Dossiers d’applications</translation>
    </message>
    <message>
        <source>ApplicationsFound</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>ApplicationsFoundTip</source>
        <translation>Les applications trouvées, avec abréviations, mots-clés et raccourcis</translation>
    </message>
    <message>
        <source>ApplicationsTip</source>
        <translation>Les dossiers où chercher les applications</translation>
    </message>
    <message>
        <source>AssignShortcutButton</source>
        <translation>Attribuer un raccourci…</translation>
    </message>
    <message>
        <source>AssignShortcutClearButton</source>
        <translation>Effacer le raccourci</translation>
    </message>
    <message>
        <source>BrowserDateAbsolute</source>
        <translation>Donner cette date à chaque élément</translation>
    </message>
    <message>
        <source>BrowserDateCurrent</source>
        <translation>Date actuelle :</translation>
    </message>
    <message>
        <source>BrowserDateFailedTitle</source>
        <translation>Certaines dates n’ont pas pu être changées</translation>
    </message>
    <message>
        <source>BrowserDateInsideFolder</source>
        <translation>Changer aussi tout le contenu des dossiers sélectionnés</translation>
    </message>
    <message>
        <source>BrowserDateNew</source>
        <translation>Nouvelle date :</translation>
    </message>
    <message>
        <source>BrowserDateShift</source>
        <translation>Décaler chaque date d’autant</translation>
    </message>
    <message numerus="yes">
        <source>BrowserMoreFailures</source>
        <translation>
            <numerusform>…et %n de plus</numerusform>
            <numerusform>…et %n de plus</numerusform>
        </translation>
    </message>
    <message>
        <source>BrowserRenameBadName</source>
        <translation>le nouveau nom est vide ou contient un /</translation>
    </message>
    <message>
        <source>BrowserRenameDigits</source>
        <translation>Chiffres :</translation>
    </message>
    <message>
        <source>BrowserRenameFailedTitle</source>
        <translation>Certains éléments n’ont pas pu être renommés</translation>
    </message>
    <message>
        <source>BrowserRenameFirstNumber</source>
        <translation>Premier numéro :</translation>
    </message>
    <message>
        <source>BrowserRenameKeepExtension</source>
        <translation>Garder l’extension de chaque élément</translation>
    </message>
    <message>
        <source>BrowserRenameNoFreeName</source>
        <translation>tous les noms jusqu’à #999 sont pris</translation>
    </message>
    <message>
        <source>BrowserRenameSample</source>
        <translation>Nouveau nom :</translation>
    </message>
    <message>
        <source>BrowserRenameScheme</source>
        <translation>Modèle de nom :</translation>
    </message>
    <message>
        <source>BrowserRenameSchemeHelp</source>
        <translation>%N nom actuel, %X numéro, %D date (aammjj), %T heure (HH_MM_SS)</translation>
    </message>
    <message>
        <source>BrowserWindowTitle</source>
        <translation>Navigateur Korvale</translation>
    </message>
    <message>
        <source>CAR</source>
        <translation>voiture</translation>
    </message>
    <message>
        <source>CELL</source>
        <translation>portable</translation>
    </message>
    <message>
        <source>CalendarWindowTitle</source>
        <translation>Calendrier</translation>
    </message>
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
        <source>ClipboardEmpty</source>
        <translation>Rien dans le presse-papiers</translation>
    </message>
    <message>
        <source>ClipboardKindHTML</source>
        <translation>Contenu de page web</translation>
    </message>
    <message>
        <source>ClipboardKindPDF</source>
        <translation>Document PDF</translation>
    </message>
    <message>
        <source>ClipboardKindPNG</source>
        <translation>Image PNG</translation>
    </message>
    <message>
        <source>ClipboardKindRichText</source>
        <translation>Texte mis en forme</translation>
    </message>
    <message>
        <source>ClipboardKindRichTextPictures</source>
        <translation>Texte mis en forme avec images</translation>
    </message>
    <message>
        <source>ClipboardKindTIFF</source>
        <translation>Image TIFF</translation>
    </message>
    <message>
        <source>ClipboardKindText</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>ClipboardNoImageRep</source>
        <translation>Cette image ne peut pas être affichée</translation>
    </message>
    <message>
        <source>ClipboardNotSavedTitle</source>
        <translation>Les entrées du presse-papiers n’ont pu être enregistrées</translation>
    </message>
    <message>
        <source>ClipboardPasteButton</source>
        <translation>Prendre le presse-papiers</translation>
    </message>
    <message>
        <source>ClipboardPasteTip</source>
        <translation>Remplacer le contenu par celui du presse-papiers, et le titre par son texte</translation>
    </message>
    <message>
        <source>ClipboardSecret</source>
        <translation>secret d’un gestionnaire de mots de passe</translation>
    </message>
    <message>
        <source>ClipboardSecretNotSavedText</source>
        <translation>Un gestionnaire de mots de passe a marqué le contenu du presse-papiers comme secret. Il n’est pas conservé comme entrée du presse-papiers.</translation>
    </message>
    <message>
        <source>ClipboardSecretNotSavedTitle</source>
        <translation>Un mot de passe n’est pas conservé</translation>
    </message>
    <message>
        <source>ClipboardTip</source>
        <translation>Les contenus du presse-papiers que vous gardez</translation>
    </message>
    <message>
        <source>ClipboardToolSecretNotSaved</source>
        <translation>le presse-papiers contient le secret d’un gestionnaire de mots de passe, qui n’est jamais conservé ; rien n’a été enregistré</translation>
    </message>
    <message>
        <source>ClipboardUnknowType</source>
        <translation>Type inconnu</translation>
    </message>
    <message>
        <source>ClipboardWaylandFocusNote</source>
        <translation>Dans cette session Wayland, le bureau ne laisse aucun programme lire le presse-papiers en arrière-plan : la suite ne voit ce qui a été copié que lorsque l’une de ses fenêtres a le focus.</translation>
    </message>
    <message>
        <source>CornerActivationCorner</source>
        <translation>Coin :</translation>
    </message>
    <message>
        <source>CornerActivationHint</source>
        <translation>La fenêtre s’ouvre quand le pointeur est dans le coin et que les touches cochées sont tenues (n’importe quelle touche si aucune n’est cochée).</translation>
    </message>
    <message>
        <source>CornerActivationKeys</source>
        <translation>Touches tenues :</translation>
    </message>
    <message>
        <source>CornerActivationTitle</source>
        <translation>Ouverture depuis un coin de l’écran</translation>
    </message>
    <message>
        <source>CornerBottomLeft</source>
        <translation>Coin en bas à gauche</translation>
    </message>
    <message>
        <source>CornerBottomRight</source>
        <translation>Coin en bas à droite</translation>
    </message>
    <message>
        <source>CornerTopLeft</source>
        <translation>Coin en haut à gauche</translation>
    </message>
    <message>
        <source>CornerTopRight</source>
        <translation>Coin en haut à droite</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Remerciements</translation>
    </message>
    <message>
        <source>CreditsText</source>
        <translation>&lt;p&gt;Korvale est écrit en C++ avec &lt;b&gt;Qt 6&lt;/b&gt;. Il lit les sauvegardes de signets de Firefox avec &lt;b&gt;LZ4&lt;/b&gt;, le carnet d’adresses et les agendas avec &lt;b&gt;libical&lt;/b&gt; et &lt;b&gt;SQLite&lt;/b&gt;, les listes de propriétés de Safari avec &lt;b&gt;libplist&lt;/b&gt;, prévisualise les PDF avec &lt;b&gt;Poppler&lt;/b&gt; et protège les notes avec la cryptographie d’&lt;b&gt;OpenSSL&lt;/b&gt;.&lt;/p&gt;&lt;p&gt;Merci à tous ceux qui entretiennent ces bibliothèques et les paquets Debian qui les portent.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>DaemonActivated</source>
        <translation>Agent Korvale actif (démarre à l’ouverture de session)</translation>
    </message>
    <message>
        <source>DateSheetTitle</source>
        <translation>Changer les dates</translation>
    </message>
    <message>
        <source>DesktopSearchMore</source>
        <translation>Rechercher dans %1</translation>
    </message>
    <message>
        <source>DocumentsCutDepth</source>
        <translation>trop profond : pas d’entrée dans %1</translation>
    </message>
    <message>
        <source>DocumentsCutTotal</source>
        <translation>trop d’éléments en tout : arrêt à %1</translation>
    </message>
    <message>
        <source>EditorAbbreviation</source>
        <translation>Abréviation :</translation>
    </message>
    <message>
        <source>EditorComment</source>
        <translation>Commentaire :</translation>
    </message>
    <message>
        <source>EditorHideApps</source>
        <translation>Masquer les autres applications quand le raccourci l’ouvre</translation>
    </message>
    <message>
        <source>EditorKeywords</source>
        <translation>Mots-clés :</translation>
    </message>
    <message>
        <source>EditorShortcut</source>
        <translation>Raccourci :</translation>
    </message>
    <message>
        <source>EditorTitle</source>
        <translation>Titre :</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>Vide</translation>
    </message>
    <message>
        <source>EmptyClipboardHint</source>
        <translation>Les entrées du presse-papiers que vous gardez sont listées ici : copiez quelque chose, puis cliquez sur Ajouter… pour le garder.</translation>
    </message>
    <message>
        <source>EmptyNotesHint</source>
        <translation>Vos notes sont listées ici : cliquez sur Nouvelle… pour écrire la première, ou sur Importer… pour en faire venir.</translation>
    </message>
    <message>
        <source>EmptyProtectedNotesHint</source>
        <translation>Les notes gardées sous votre mot de passe sont listées ici : cliquez sur Nouvelle… pour écrire la première.</translation>
    </message>
    <message>
        <source>EmptyRemindersHint</source>
        <translation>Les rappels restent à l’écran jusqu’à ce que vous les retiriez : cliquez sur Ajouter… pour écrire le premier.</translation>
    </message>
    <message>
        <source>EmptyStocksHint</source>
        <translation>Les signets viennent de vos navigateurs (Autres données dans le gestionnaire) ; les valeurs surveillées, des lignes « nom, tabulation, adresse du cours » de StocksSurvey.txt dans le dossier des données.</translation>
    </message>
    <message>
        <source>EmptyToDoHint</source>
        <translation>Vos tâches et leurs échéances sont listées ici : cliquez sur Ajouter… pour écrire la première.</translation>
    </message>
    <message>
        <source>FAX</source>
        <translation>fax</translation>
    </message>
    <message>
        <source>FieldLabelFormat</source>
        <translation>%1 :</translation>
    </message>
    <message>
        <source>FileEditorChangeDate</source>
        <translation>Changer la date</translation>
    </message>
    <message>
        <source>FileEditorDate</source>
        <translation>Modifié le :</translation>
    </message>
    <message>
        <source>FileEditorDuplicate</source>
        <translation>Dupliquer</translation>
    </message>
    <message>
        <source>FileEditorFolder</source>
        <translation>Dossier :</translation>
    </message>
    <message>
        <source>FileEditorName</source>
        <translation>Nom de la copie :</translation>
    </message>
    <message>
        <source>FileEditorWindowTitle</source>
        <translation>Date et copie</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers et dossiers</translation>
    </message>
    <message>
        <source>FilesIndexedCount</source>
        <translation>%1 éléments indexés</translation>
    </message>
    <message>
        <source>FilesIndexing</source>
        <translation>Indexation… %1 fichiers</translation>
    </message>
    <message>
        <source>FilesScanFolder</source>
        <translation>(contenu inclus)</translation>
    </message>
    <message>
        <source>FilesTip</source>
        <translation>Vos fichiers et dossiers, toujours à portée de main</translation>
    </message>
    <message>
        <source>GlobalShortcutMenu</source>
        <translation>Afficher le menu de la barre des menus</translation>
    </message>
    <message>
        <source>GlobalShortcutOpenItems</source>
        <translation>Ouvrir %1</translation>
    </message>
    <message>
        <source>GlobalShortcutOpenWindow</source>
        <translation>Ouvrir la fenêtre d'accès</translation>
    </message>
    <message>
        <source>GlobalShortcutOpenWindowAndItems</source>
        <translation>Ouvrir la fenêtre d'accès et %1</translation>
    </message>
    <message>
        <source>GlobalShortcutToggle</source>
        <translation>Afficher ou masquer la fenêtre d'accès</translation>
    </message>
    <message>
        <source>GlobalShortcutsAction</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>GlobalShortcutsBinding</source>
        <translation>Le bureau enregistre les raccourcis ; il vous demande peut-être de les confirmer.</translation>
    </message>
    <message>
        <source>GlobalShortcutsHeading</source>
        <translation>Le bureau surveille ces touches pour l'agent. Pour les changer, ouvrez les raccourcis dans les réglages du clavier de votre bureau.</translation>
    </message>
    <message>
        <source>GlobalShortcutsKeys</source>
        <translation>Touches</translation>
    </message>
    <message>
        <source>GlobalShortcutsNoKeys</source>
        <translation>aucune pour l'instant</translation>
    </message>
    <message>
        <source>GlobalShortcutsRefusedApplication</source>
        <translation>Le portail du bureau a refusé les raccourcis de l’agent : il n’a pas pu savoir de quelle application il s’agit. Installez les entrées de bureau de la suite (org.korvale.Daemon.desktop) et redémarrez l’agent.</translation>
    </message>
    <message>
        <source>GlobalShortcutsRefusedClosed</source>
        <translation>Le bureau a mis fin aux raccourcis de l’agent (ses réglages ou une règle du système). Modifiez un raccourci ici pour les enregistrer de nouveau.</translation>
    </message>
    <message>
        <source>GlobalShortcutsRefusedDeclined</source>
        <translation>Les raccourcis ont été refusés dans la fenêtre du bureau. Modifiez un raccourci ici pour que le bureau vous le redemande.</translation>
    </message>
    <message>
        <source>GlobalShortcutsRefusedOther</source>
        <translation>Le portail du bureau a refusé les raccourcis de l’agent : %1</translation>
    </message>
    <message>
        <source>HOME</source>
        <translation>domicile</translation>
    </message>
    <message>
        <source>HOME FAX</source>
        <translation>fax domicile</translation>
    </message>
    <message>
        <source>IPHONE</source>
        <translation>iPhone</translation>
    </message>
    <message>
        <source>ISDN</source>
        <translation>RNIS</translation>
    </message>
    <message>
        <source>IncludeContents</source>
        <translation>Inclure le contenu du dossier</translation>
    </message>
    <message>
        <source>InvalidSystemTitle</source>
        <translation>Korvale ne peut pas fonctionner ici</translation>
    </message>
    <message>
        <source>ItemEditorTitle</source>
        <translation>Modifier l’élément</translation>
    </message>
    <message>
        <source>KeyActivationHint</source>
        <translation>Tenez les touches deux secondes sans bouger, ou tenez-les et cliquez sur Prendre.</translation>
    </message>
    <message>
        <source>KeyActivationPersonal</source>
        <translation>Tenir une combinaison de touches à vous :</translation>
    </message>
    <message>
        <source>KeyActivationPredefined</source>
        <translation>Taper une touche de modification :</translation>
    </message>
    <message>
        <source>KeyActivationTitle</source>
        <translation>Ouverture au clavier</translation>
    </message>
    <message>
        <source>KeyDetectionWindowTitle</source>
        <translation>Détection des touches</translation>
    </message>
    <message>
        <source>KeyboardDevicesBox</source>
        <translation>Lire directement les claviers, pour la double frappe</translation>
    </message>
    <message>
        <source>KeyboardDevicesCorners</source>
        <translation>Les coins de l'écran ne fonctionnent que dans une session X11 : sous Wayland, aucun programme ne peut savoir où se trouve le pointeur.</translation>
    </message>
    <message>
        <source>KeyboardDevicesExplanation</source>
        <translation>Dans une session Wayland, l'agent n'entend la double frappe qu'en lisant lui-même les périphériques des claviers. Il voit alors chaque touche que vous enfoncez, dans tous les programmes, mots de passe compris ; il ne garde que les touches tenues, et rien ne quitte cet ordinateur. Rien de cela ne se fait sans que vous l'ayez activé.</translation>
    </message>
    <message>
        <source>KeyboardDevicesNoAccess</source>
        <translation>Votre compte ne peut pas encore lire les claviers : rien ne change donc. Cette commande lui en donne le droit, qui vaut dès que vous vous êtes déconnecté puis reconnecté :</translation>
    </message>
    <message>
        <source>KeyboardDevicesNone</source>
        <translation>Aucun clavier n'a été trouvé parmi les périphériques d'entrée.</translation>
    </message>
    <message>
        <source>KeyboardDevicesReadable</source>
        <translation>Claviers que votre compte peut lire : %1.</translation>
    </message>
    <message>
        <source>ListNameApplications</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>ListNameApplicationsUse</source>
        <translation>Utilisation des applications</translation>
    </message>
    <message>
        <source>ListNameClipboard</source>
        <translation>Entrées du presse-papiers</translation>
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
        <translation>Réglages</translation>
    </message>
    <message>
        <source>ListNameProtectedNotes</source>
        <translation>Notes protégées</translation>
    </message>
    <message>
        <source>ListNameReminder</source>
        <translation>Rappels</translation>
    </message>
    <message>
        <source>ListNameStocks</source>
        <translation>Actions</translation>
    </message>
    <message>
        <source>ListNameToDo</source>
        <translation>À faire</translation>
    </message>
    <message>
        <source>LowerCaseText</source>
        <translation>minuscules</translation>
    </message>
    <message>
        <source>MAIN</source>
        <translation>principal</translation>
    </message>
    <message>
        <source>MSG</source>
        <translation>messagerie</translation>
    </message>
    <message>
        <source>ManagerAdd</source>
        <translation>Ajouter…</translation>
    </message>
    <message>
        <source>ManagerAddFile</source>
        <translation>Fichier…</translation>
    </message>
    <message>
        <source>ManagerAddFolder</source>
        <translation>Dossier…</translation>
    </message>
    <message>
        <source>ManagerEdit</source>
        <translation>Modifier…</translation>
    </message>
    <message>
        <source>ManagerEditMenu</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>ManagerEditWaits</source>
        <translation>« %1 » s’ouvrira pour modification à la fermeture de la boîte de dialogue ouverte.</translation>
    </message>
    <message>
        <source>ManagerHelpMenu</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>ManagerNoApplications</source>
        <translation>Aucune application trouvée pour l’instant. Korvale cherche dans les dossiers d’applications.</translation>
    </message>
    <message>
        <source>ManagerRemove</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>ManagerRescan</source>
        <translation>Réexaminer</translation>
    </message>
    <message>
        <source>ManagerRescanMenu</source>
        <translation>Réexaminer les applications</translation>
    </message>
    <message>
        <source>ManagerSearch</source>
        <translation>Rechercher</translation>
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
        <source>MultipleDaemonsText</source>
        <translation>L’agent Korvale fonctionne déjà depuis %1. Quittez-le, ou lancez le gestionnaire de cette copie, avant de démarrer celle-ci.</translation>
    </message>
    <message>
        <source>MultipleDaemonsTitle</source>
        <translation>Une autre copie de Korvale fonctionne</translation>
    </message>
    <message>
        <source>NewInVersion</source>
        <translation>Nouveautés</translation>
    </message>
    <message>
        <source>NewInVersionText</source>
        <translation>&lt;ul&gt;&lt;li&gt;&lt;b&gt;Quitter&lt;/b&gt; se trouve dans le menu d’actions de la fenêtre d’accès (Ctrl+Q) et au bas du menu de la zone de notification ; il demande d’abord.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Aide&lt;/b&gt; (Ctrl+?) dans la fenêtre d’accès ouvre la visite guidée dans le gestionnaire.&lt;/li&gt;&lt;li&gt;Une limite d’alerte de cours vide veut dire aucune limite de ce côté.&lt;/li&gt;&lt;li&gt;Un dossier qu’aucun gestionnaire de fichiers n’ouvre s’ouvre dans le navigateur de Korvale ; tout autre échec d’ouverture en dit la raison.&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
    <message>
        <source>NoIncludeContents</source>
        <translation>Ne pas inclure le contenu du dossier</translation>
    </message>
    <message>
        <source>NoReminder</source>
        <translation>Aucun rappel</translation>
    </message>
    <message>
        <source>NoResultAvailable</source>
        <translation>Aucun résultat</translation>
    </message>
    <message>
        <source>NoToDoItem</source>
        <translation>Aucune tâche</translation>
    </message>
    <message>
        <source>NoteEditorAbbreviationLabel</source>
        <translation>Abréviation</translation>
    </message>
    <message>
        <source>NoteEditorKeywordsLabel</source>
        <translation>Mots-clés</translation>
    </message>
    <message>
        <source>NoteEditorTitle</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>NoteEditorTitleLabel</source>
        <translation>Titre</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>NotesChangePassword</source>
        <translation>Mot de passe…</translation>
    </message>
    <message>
        <source>NotesDuplicate</source>
        <translation>Dupliquer</translation>
    </message>
    <message>
        <source>NotesExport</source>
        <translation>Exporter…</translation>
    </message>
    <message>
        <source>NotesFindLabel</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>NotesImport</source>
        <translation>Importer…</translation>
    </message>
    <message>
        <source>NotesMoveToNotes</source>
        <translation>Ne plus protéger</translation>
    </message>
    <message>
        <source>NotesMoveToProtected</source>
        <translation>Protéger</translation>
    </message>
    <message>
        <source>NotesNew</source>
        <translation>Nouvelle…</translation>
    </message>
    <message>
        <source>NotesNotSavedText</source>
        <translation>Votre modification reste dans cette fenêtre mais pas sur le disque. Vérifiez la place et les droits du dossier des données, puis réessayez.</translation>
    </message>
    <message>
        <source>NotesNotSavedTitle</source>
        <translation>Les notes n’ont pu être enregistrées</translation>
    </message>
    <message>
        <source>NotesRemove</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>NotesReplace</source>
        <translation>Remplacer…</translation>
    </message>
    <message>
        <source>NotesReplaceLabel</source>
        <translation>Remplacer par</translation>
    </message>
    <message>
        <source>NotesReplaceTitle</source>
        <translation>Remplacer dans les notes</translation>
    </message>
    <message>
        <source>NotesSearchPlaceholder</source>
        <translation>Rechercher dans les notes</translation>
    </message>
    <message>
        <source>NotesTip</source>
        <translation>Vos notes</translation>
    </message>
    <message>
        <source>OKButton</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>OTHER</source>
        <translation>autre</translation>
    </message>
    <message>
        <source>OpenFailedLaunch</source>
        <translation>Le programme n’a pas démarré. Le journal du système dit pourquoi (journalctl --user).</translation>
    </message>
    <message>
        <source>OpenFailedNoApplication</source>
        <translation>Aucune application de cet ordinateur n’ouvre ce type de fichier.</translation>
    </message>
    <message>
        <source>OpenFailedNoBrowser</source>
        <translation>Aucun gestionnaire de fichiers n’est installé, et le navigateur de Korvale (korvale-browser) est introuvable à côté de l’agent.</translation>
    </message>
    <message>
        <source>OpenFailedTitle</source>
        <translation>« %1 » n’a pas pu être ouvert</translation>
    </message>
    <message>
        <source>OtherData</source>
        <translation>Autres données</translation>
    </message>
    <message>
        <source>OtherDataAddressBookBox</source>
        <translation>Lire mon carnet d’adresses</translation>
    </message>
    <message>
        <source>OtherDataBookmarksBox</source>
        <translation>Lire les signets de mes navigateurs</translation>
    </message>
    <message>
        <source>OtherDataCalendarBox</source>
        <translation>Lire les événements de mes calendriers</translation>
    </message>
    <message>
        <source>OtherDataCalendarFilter</source>
        <translation>Fichiers de calendrier (*.ics)</translation>
    </message>
    <message>
        <source>OtherDataCalendarPathsTitle</source>
        <translation>Lire aussi ces fichiers et dossiers de calendrier :</translation>
    </message>
    <message>
        <source>OtherDataContactsFilter</source>
        <translation>Fichiers vCard (*.vcf *.vcard)</translation>
    </message>
    <message>
        <source>OtherDataContactsPathsTitle</source>
        <translation>Lire aussi ces fichiers et dossiers vCard :</translation>
    </message>
    <message>
        <source>OtherDataFaviconsBox</source>
        <translation>Récupérer les icônes des sites des signets</translation>
    </message>
    <message>
        <source>OtherDataKindCalendar</source>
        <translation>agenda</translation>
    </message>
    <message>
        <source>OtherDataKindContacts</source>
        <translation>carnet d’adresses</translation>
    </message>
    <message>
        <source>OtherDataNote</source>
        <translation>Korvale les lit dans vos propres programmes et les trouve dans la fenêtre d’accès.</translation>
    </message>
    <message>
        <source>OtherDataOriginEds</source>
        <translation>par Evolution Data Server</translation>
    </message>
    <message>
        <source>OtherDataOriginEdsFiles</source>
        <translation>fichiers d’Evolution</translation>
    </message>
    <message>
        <source>OtherDataOriginKde</source>
        <translation>dossier de KDE</translation>
    </message>
    <message>
        <source>OtherDataOriginThunderbird</source>
        <translation>dans Thunderbird</translation>
    </message>
    <message>
        <source>OtherDataOriginUser</source>
        <translation>choisi dans les préférences</translation>
    </message>
    <message>
        <source>OtherDataSourcesAsking</source>
        <translation>Question posée à l’agent…</translation>
    </message>
    <message>
        <source>OtherDataSourcesNoAgent</source>
        <translation>L’agent ne tourne pas : les carnets d’adresses et agendas qu’il lit s’afficheront ici.</translation>
    </message>
    <message>
        <source>OtherDataSourcesNone</source>
        <translation>Aucun carnet d’adresses ni agenda trouvé. L’agent cherche dans Evolution Data Server, Thunderbird, les dossiers de KDE et les chemins ci-dessous.</translation>
    </message>
    <message>
        <source>OtherDataSourcesTitle</source>
        <translation>Trouvé à la dernière lecture de l’agent</translation>
    </message>
    <message>
        <source>OtherDataTip</source>
        <translation>Signets, contacts et calendriers lus dans vos programmes</translation>
    </message>
    <message>
        <source>PAGER</source>
        <translation>récepteur d’appels</translation>
    </message>
    <message>
        <source>PREF</source>
        <translation>préféré</translation>
    </message>
    <message>
        <source>PasswordAgainText</source>
        <translation>Tapez à nouveau le même mot de passe : vos notes protégées seront chiffrées avec lui.</translation>
    </message>
    <message>
        <source>PasswordChooseText</source>
        <translation>Choisissez un mot de passe pour vos notes protégées.</translation>
    </message>
    <message>
        <source>PasswordSheetText</source>
        <translation>Tapez le mot de passe de vos notes protégées.</translation>
    </message>
    <message>
        <source>PasswordSheetTitle</source>
        <translation>Notes protégées</translation>
    </message>
    <message>
        <source>PasswordsDifferText</source>
        <translation>Le mot de passe tapé la seconde fois n’est pas le premier. Rien n’a été modifié ; recommencez.</translation>
    </message>
    <message>
        <source>PasswordsDifferTitle</source>
        <translation>Les mots de passe diffèrent</translation>
    </message>
    <message>
        <source>PathListAddFile</source>
        <translation>Ajouter un fichier…</translation>
    </message>
    <message>
        <source>PathListAddFolder</source>
        <translation>Ajouter un dossier…</translation>
    </message>
    <message>
        <source>PathListRemove</source>
        <translation>Retirer</translation>
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
        <source>PopupMenuBrowserOpenItem</source>
        <translation>Parcourir ici</translation>
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
        <source>PopupMenuModify</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>PopupMenuModifyDate</source>
        <translation>Changer les dates…</translation>
    </message>
    <message>
        <source>PopupMenuModifyName</source>
        <translation>Renommer…</translation>
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
        <source>PopupMenuOpenInBrowser</source>
        <translation>Ouvrir dans le navigateur de fichiers</translation>
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
        <source>PopupMenuQuit</source>
        <translation>Quitter</translation>
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
        <source>PopupMenuShowParent</source>
        <translation>Dossier parent</translation>
    </message>
    <message>
        <source>PopupMenuShowRawPath</source>
        <translation>Afficher les chemins bruts</translation>
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
        <source>PopupMenuToDoDoneItem</source>
        <translation>Fait / pas fait</translation>
    </message>
    <message>
        <source>PopupMenuToDoNextDayItem</source>
        <translation>Reporter d’un jour</translation>
    </message>
    <message>
        <source>PopupMenuToDoNextMonthItem</source>
        <translation>Reporter d’un mois</translation>
    </message>
    <message>
        <source>PopupMenuToDoNextWeekItem</source>
        <translation>Reporter d’une semaine</translation>
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
        <source>PreferencesActivity</source>
        <translation>Activité des applications</translation>
    </message>
    <message>
        <source>PreferencesAnswers</source>
        <translation>Réponses</translation>
    </message>
    <message>
        <source>PreferencesAnswersCalculator</source>
        <translation>Calculs, unités et devises</translation>
    </message>
    <message>
        <source>PreferencesAnswersFetchExchangeRates</source>
        <translation>Télécharger les taux de change quand ceux du disque ont plus d’un jour</translation>
    </message>
    <message>
        <source>PreferencesAnswersSystemActions</source>
        <translation>Actions du système (verrouiller, se déconnecter, mettre en veille, redémarrer, éteindre)</translation>
    </message>
    <message>
        <source>PreferencesAnswersWebKeywords</source>
        <translation>Mots-clés web (« g quokka » cherche sur Google)</translation>
    </message>
    <message>
        <source>PreferencesAnswersWindows</source>
        <translation>Fenêtres ouvertes, par leur titre</translation>
    </message>
    <message>
        <source>PreferencesCenterAccessWindow</source>
        <translation>Ouvrir la fenêtre d’accès au milieu de l’écran</translation>
    </message>
    <message>
        <source>PreferencesControlClickInMenuBar</source>
        <translation>Ctrl-clic en haut de l’écran pour le menu Korvale</translation>
    </message>
    <message>
        <source>PreferencesDesktopSearch</source>
        <translation>La recherche du bureau</translation>
    </message>
    <message>
        <source>PreferencesDesktopSearchNone</source>
        <translation>Aucun fournisseur de recherche n’est installé.</translation>
    </message>
    <message>
        <source>PreferencesDesktopSearchNote</source>
        <translation>Les lignes de ces applications s’ajoutent sous celles de l’agent, à mesure qu’elles répondent.</translation>
    </message>
    <message>
        <source>PreferencesMenu</source>
        <translation>Préférences…</translation>
    </message>
    <message>
        <source>PreferencesPriorityAddresses</source>
        <translation>Contacts :</translation>
    </message>
    <message>
        <source>PreferencesPriorityApplications</source>
        <translation>Applications :</translation>
    </message>
    <message>
        <source>PreferencesPriorityBookmarks</source>
        <translation>Signets :</translation>
    </message>
    <message>
        <source>PreferencesPriorityFiles</source>
        <translation>Fichiers :</translation>
    </message>
    <message>
        <source>PreferencesPriorityNotes</source>
        <translation>Notes :</translation>
    </message>
    <message>
        <source>PreferencesRanking</source>
        <translation>Classement des résultats (le plus élevé d’abord)</translation>
    </message>
    <message>
        <source>PreferencesRecordApplicationsUse</source>
        <translation>Noter les applications que j’utilise, pour le rapport d’activité</translation>
    </message>
    <message>
        <source>PreferencesRecordApplicationsUseTip</source>
        <translation>Désactivé, plus rien n’est noté ; ce qui a été noté reste.</translation>
    </message>
    <message>
        <source>PreferencesResetFilter</source>
        <translation>Montrer tous les types d’éléments à chaque ouverture</translation>
    </message>
    <message>
        <source>PreferencesRevealCursor</source>
        <translation>Double appui pour montrer le pointeur :</translation>
    </message>
    <message>
        <source>PreferencesShowIconInPopupMenus</source>
        <translation>Icônes dans les menus</translation>
    </message>
    <message>
        <source>PreferencesShowKeysDetection</source>
        <translation>Montrer la fenêtre des touches</translation>
    </message>
    <message>
        <source>PreferencesShowKeysDetectionAuto</source>
        <translation>Montrer la fenêtre des touches quand des touches restent enfoncées plus de 10 secondes</translation>
    </message>
    <message>
        <source>PreferencesTitle</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>PreferencesWebAddress</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>PreferencesWebAddressTip</source>
        <translation>La recherche prend la place de &lt;&lt;QUERY&gt;&gt; dans l’adresse.</translation>
    </message>
    <message>
        <source>PreferencesWebKeyword</source>
        <translation>Mot-clé</translation>
    </message>
    <message>
        <source>PreferencesWebKeywordAdd</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>PreferencesWebKeywordRemove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>PreferencesWebSite</source>
        <translation>Site web</translation>
    </message>
    <message>
        <source>PreferencesWindow</source>
        <translation>Fenêtre d’accès</translation>
    </message>
    <message>
        <source>ProtectedNotes</source>
        <translation>Notes protégées</translation>
    </message>
    <message numerus="yes">
        <source>ProtectedNotesDamagedText</source>
        <translation>
            <numerusform>%n note protégée est endommagée. Le fichier qui la contient sera mis de côté, à côté du nouveau, au prochain enregistrement de vos notes.</numerusform>
            <numerusform>%n notes protégées sont endommagées. Le fichier qui les contient sera mis de côté, à côté du nouveau, au prochain enregistrement de vos notes.</numerusform>
        </translation>
    </message>
    <message>
        <source>ProtectedNotesDamagedTitle</source>
        <translation>Des notes protégées n’ont pu être lues</translation>
    </message>
    <message>
        <source>ProtectedNotesKeptAsideText</source>
        <translation>Le fichier qui les contenait auparavant est conservé, inchangé, sous %1. Supprimez-le quand vos notes s’ouvrent comme il faut.</translation>
    </message>
    <message>
        <source>ProtectedNotesKeptAsideTitle</source>
        <translation>Vos notes protégées ont été enregistrées à nouveau</translation>
    </message>
    <message>
        <source>ProtectedNotesTip</source>
        <translation>Notes chiffrées par une phrase secrète</translation>
    </message>
    <message>
        <source>ProtectedNotesUnavailableText</source>
        <translation>La partie de Korvale qui les chiffre (libkorvale-crypto.so) est absente ou ne se charge pas. Rien n’a été modifié : réinstallez Korvale, puis réessayez.</translation>
    </message>
    <message>
        <source>ProtectedNotesUnavailableTitle</source>
        <translation>Les notes protégées ne peuvent être ouvertes</translation>
    </message>
    <message>
        <source>QuickHelp</source>
        <translation>Aide rapide</translation>
    </message>
    <message>
        <source>QuickHelpText</source>
        <translation>&lt;h3&gt;La fenêtre d’accès&lt;/h3&gt;&lt;p&gt;Tapez deux fois sur &lt;b&gt;Super&lt;/b&gt; pour l’ouvrir. Tapez quelques lettres de ce que vous cherchez : une application, un fichier, une note, un presse-papiers gardé. &lt;b&gt;Entrée&lt;/b&gt; ouvre la sélection, &lt;b&gt;Alt+Entrée&lt;/b&gt; la montre dans le gestionnaire de fichiers, &lt;b&gt;Espace&lt;/b&gt; prévisualise un fichier, la &lt;b&gt;flèche droite&lt;/b&gt; ouvre son menu, &lt;b&gt;Échap&lt;/b&gt; ferme la fenêtre.&lt;/p&gt;&lt;h3&gt;Vos propres mots&lt;/h3&gt;&lt;p&gt;Donnez à une application ou un fichier une &lt;b&gt;abréviation&lt;/b&gt; ou des &lt;b&gt;mots-clés&lt;/b&gt; dans ce gestionnaire : ils le trouvent en premier. Un &lt;b&gt;raccourci&lt;/b&gt; l’ouvre de partout.&lt;/p&gt;&lt;h3&gt;Fichiers et dossiers&lt;/h3&gt;&lt;p&gt;La fenêtre d’accès cherche les fichiers et dossiers listés ici par leur nom et, pour un dossier dont le contenu est inclus, le nom des fichiers et dossiers qu’il contient à toute profondeur (sauf les cachés, les caches et les autres disques) ; le contenu de Documents, Bureau et Téléchargements est inclus dès le départ. Le contenu des fichiers n’est pas cherché.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>QuickHelpTip</source>
        <translation>Korvale en quelques lignes</translation>
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
        <source>Reminder</source>
        <translation>Rappels</translation>
    </message>
    <message>
        <source>ReminderAddCalendarEntriesBox</source>
        <translation>Me rappeler les événements du calendrier d’aujourd’hui et de demain</translation>
    </message>
    <message>
        <source>ReminderAddToDoItemsBox</source>
        <translation>Me rappeler les tâches à faire dans les cinq jours</translation>
    </message>
    <message>
        <source>ReminderColorBlue</source>
        <translation>Bleu</translation>
    </message>
    <message>
        <source>ReminderColorGreen</source>
        <translation>Vert</translation>
    </message>
    <message>
        <source>ReminderColorRed</source>
        <translation>Rouge</translation>
    </message>
    <message>
        <source>ReminderColorYellow</source>
        <translation>Jaune</translation>
    </message>
    <message>
        <source>ReminderEditorColor</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>ReminderHideWindow</source>
        <translation>Masquer</translation>
    </message>
    <message>
        <source>ReminderListTitle</source>
        <translation>Rappels</translation>
    </message>
    <message>
        <source>ReminderShowList</source>
        <translation>Afficher les rappels</translation>
    </message>
    <message>
        <source>ReminderTip</source>
        <translation>Rappels et calendrier</translation>
    </message>
    <message>
        <source>RenameSheetTitle</source>
        <translation>Renommer</translation>
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
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>RevealCursorSuper</source>
        <translation>Super</translation>
    </message>
    <message>
        <source>SCHOOL</source>
        <translation>école</translation>
    </message>
    <message>
        <source>SaveFailedBusy</source>
        <translation>Un autre programme l’a gardé verrouillé pendant son enregistrement.</translation>
    </message>
    <message>
        <source>SaveFailedDiskFull</source>
        <translation>Le disque est plein.</translation>
    </message>
    <message>
        <source>SaveFailedKept</source>
        <translation>Votre modification est gardée et sera enregistrée de nouveau à votre prochaine modification.</translation>
    </message>
    <message>
        <source>SaveFailedNotAFile</source>
        <translation>Quelque chose qui n’est pas un fichier occupe sa place (%1) : supprimez-le, et l’enregistrement s’y fera.</translation>
    </message>
    <message>
        <source>SaveFailedOther</source>
        <translation>Le système a répondu : %1.</translation>
    </message>
    <message>
        <source>SaveFailedPermission</source>
        <translation>Vous n’avez pas le droit d’écrire dans le dossier des données.</translation>
    </message>
    <message>
        <source>SaveFailedReadOnly</source>
        <translation>Le disque est en lecture seule.</translation>
    </message>
    <message>
        <source>SaveFailedTitle</source>
        <translation>Impossible d’enregistrer « %1 »</translation>
    </message>
    <message>
        <source>ScanningApplications</source>
        <translation>Recherche de vos applications…</translation>
    </message>
    <message>
        <source>SearchActivityAll</source>
        <translation>Toutes</translation>
    </message>
    <message>
        <source>SearchActivityHigh</source>
        <translation>Utilisées cette dernière semaine</translation>
    </message>
    <message>
        <source>SearchActivityLow</source>
        <translation>Utilisées ces 6 derniers mois</translation>
    </message>
    <message>
        <source>SearchActivityMiddle</source>
        <translation>Utilisées ce dernier mois</translation>
    </message>
    <message>
        <source>SearchActivityNone</source>
        <translation>Jamais utilisées</translation>
    </message>
    <message>
        <source>SearchActivityVeryLow</source>
        <translation>Utilisées au moins une fois</translation>
    </message>
    <message>
        <source>SearchDebianPackages</source>
        <translation>Dans les paquets Debian</translation>
    </message>
    <message>
        <source>SearchFlathub</source>
        <translation>Dans Flathub</translation>
    </message>
    <message>
        <source>SearchGoogle</source>
        <translation>Avec Google</translation>
    </message>
    <message>
        <source>SearchOnWeb</source>
        <translation>Chercher sur le Web</translation>
    </message>
    <message>
        <source>SendEmail</source>
        <translation>Envoyer un e-mail</translation>
    </message>
    <message>
        <source>ShortCut</source>
        <translation>Raccourcis</translation>
    </message>
    <message>
        <source>ShortCutTip</source>
        <translation>Comment faire apparaître la fenêtre d’accès</translation>
    </message>
    <message>
        <source>ShortcutChange</source>
        <translation>Modifier…</translation>
    </message>
    <message>
        <source>ShortcutCornerBox</source>
        <translation>L’ouvrir quand le pointeur atteint un coin de l’écran :</translation>
    </message>
    <message>
        <source>ShortcutKeyBox</source>
        <translation>Ouvrir la fenêtre d’accès au clavier :</translation>
    </message>
    <message>
        <source>ShortcutSheetText</source>
        <translation>Maintenez les touches du raccourci deux secondes, ou appuyez dessus et cliquez sur Prendre.</translation>
    </message>
    <message>
        <source>ShortcutSheetTitle</source>
        <translation>Raccourci de l’élément</translation>
    </message>
    <message>
        <source>ShortcutTake</source>
        <translation>Prendre</translation>
    </message>
    <message>
        <source>ShortcutTapFourTimes</source>
        <translation>tapée quatre fois</translation>
    </message>
    <message>
        <source>ShortcutTapThrice</source>
        <translation>tapée trois fois</translation>
    </message>
    <message>
        <source>ShortcutTapTwice</source>
        <translation>tapée deux fois</translation>
    </message>
    <message>
        <source>ShortcutWaylandNote</source>
        <translation>Cette session est sous Wayland : le bureau ne laisse aucun autre programme suivre le clavier ni le pointeur, ces gestes ne sont donc pas vus. Dans les réglages du clavier de votre bureau, associez plutôt une touche à cette commande :</translation>
    </message>
    <message>
        <source>Socket</source>
        <translation>Socket</translation>
    </message>
    <message>
        <source>StockEditorAboveLabel</source>
        <translation>Alerte au-dessus de :</translation>
    </message>
    <message>
        <source>StockEditorAddressLabel</source>
        <translation>Adresse du cours :</translation>
    </message>
    <message>
        <source>StockEditorBelowLabel</source>
        <translation>Alerte en dessous de :</translation>
    </message>
    <message>
        <source>StockEditorHint</source>
        <translation>La surveillance alerte aussi quand le cours a varié de plus de 1 % depuis son dernier affichage.</translation>
    </message>
    <message>
        <source>StockEditorTitle</source>
        <translation>Valeur surveillée</translation>
    </message>
    <message>
        <source>StockSurveyTitle</source>
        <translation>Surveillance des cours</translation>
    </message>
    <message>
        <source>SurveyStocksInfos</source>
        <translation>%1
Dernier affiché : %2
Alerte au-dessous de : %3
Alerte au-dessus de : %4
(%5)</translation>
    </message>
    <message>
        <source>SymbolicLink</source>
        <translation>Lien symbolique</translation>
    </message>
    <message>
        <source>SystemQuitButton</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>SystemRequiredLeopard</source>
        <translation>Korvale a besoin de Qt %1 ou plus récent ; ce système a Qt %2.</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>SMS</translation>
    </message>
    <message>
        <source>ToDo</source>
        <translation>À faire</translation>
    </message>
    <message>
        <source>ToDoEditorDate</source>
        <translation>Échéance</translation>
    </message>
    <message>
        <source>ToDoEditorDone</source>
        <translation>Fait</translation>
    </message>
    <message>
        <source>ToDoTip</source>
        <translation>Les choses à faire</translation>
    </message>
    <message>
        <source>ToolCannotReadInput</source>
        <translation>impossible de lire l’entrée standard</translation>
    </message>
    <message>
        <source>ToolClipboardCannotServe</source>
        <translation>impossible de lancer le programme qui sert le presse-papiers</translation>
    </message>
    <message>
        <source>ToolClipboardNoDisplay</source>
        <translation>pas de presse-papiers utilisable (%1)</translation>
    </message>
    <message>
        <source>ToolClipboardNoEntries</source>
        <translation>pas d’entrée %1 : il n’y a aucune entrée de presse-papiers</translation>
    </message>
    <message>
        <source>ToolClipboardNotANumber</source>
        <translation>« %1 » n’est pas un numéro d’entrée (1, 2, ... comme « list » les affiche)</translation>
    </message>
    <message>
        <source>ToolClipboardNotTaken</source>
        <translation>le presse-papiers n’a pas pu être pris ; il est inchangé</translation>
    </message>
    <message>
        <source>ToolClipboardNotWritten</source>
        <translation>%1 n’a pas pu être écrit : %2 Rien n’a été enregistré</translation>
    </message>
    <message>
        <source>ToolClipboardNothing</source>
        <translation>le presse-papiers ne contient rien qui puisse être gardé ; rien n’a été enregistré</translation>
    </message>
    <message>
        <source>ToolClipboardOutOfRange</source>
        <translation>pas d’entrée %1 : les entrées sont numérotées de 1 à %2</translation>
    </message>
    <message>
        <source>ToolClipboardUnreadable</source>
        <translation>l’entrée %1 ne contient rien de lisible ; le presse-papiers est inchangé</translation>
    </message>
    <message>
        <source>ToolClipboardUsage</source>
        <translation>Utilisation :
  korvale-clipboard list           les entrées, numérotées à partir de 1 :
                                   NUMÉRO&lt;TAB&gt;TITRE&lt;TAB&gt;TYPE
  korvale-clipboard save TITRE     garde ce que contient le presse-papiers sous le titre
                                   TITRE, et affiche son numéro
  korvale-clipboard restore N      remet l’entrée N dans le presse-papiers
Code de sortie : 0 fait, 1 échec (la raison sur la sortie d’erreur), 2 mauvaise utilisation.
</translation>
    </message>
    <message>
        <source>ToolDataCannotKeepAside</source>
        <translation>%1 ne peut être ni lu (%2) ni mis de côté ; rien n’a été écrit</translation>
    </message>
    <message>
        <source>ToolDataJsonError</source>
        <translation>%1 ; rien n’a été écrit</translation>
    </message>
    <message>
        <source>ToolDataJsonShape</source>
        <translation>le JSON doit être une liste ou un dictionnaire ; rien n’a été écrit</translation>
    </message>
    <message>
        <source>ToolDataKeptAside</source>
        <translation>%1 n’a pas pu être lu (%2) ; il est mis de côté sous le nom %3</translation>
    </message>
    <message>
        <source>ToolDataNotWritten</source>
        <translation>%1 n’a pas pu être écrit</translation>
    </message>
    <message>
        <source>ToolDataUnreadable</source>
        <translation>%1 : ce n’est pas un fichier de données lisible (%2)</translation>
    </message>
    <message>
        <source>ToolDataUsage</source>
        <translation>Utilisation :
  korvale-data dump FICHIER   affiche un fichier de liste ou de dictionnaire en JSON
  korvale-data load FICHIER   écrit FICHIER à partir du JSON de l’entrée standard
  korvale-data path           affiche le dossier des données
  korvale-data preferences    affiche le chemin du fichier des préférences
FICHIER est un chemin, ou le nom d’un fichier du dossier des données (« Notes.krvdata »).
</translation>
    </message>
    <message>
        <source>ToolKeptAs</source>
        <translation>l’ancien %1 est conservé sous le nom %2</translation>
    </message>
    <message>
        <source>ToolNoSuchFile</source>
        <translation>%1 : ce fichier n’existe pas</translation>
    </message>
    <message>
        <source>ToolNotesCryptoUnavailable</source>
        <translation>les notes protégées ne peuvent pas être ouvertes : leur module de chiffrement libkorvale-crypto.so est absent ou ne se charge pas (réinstallez Korvale) ; rien n’a été modifié</translation>
    </message>
    <message numerus="yes">
        <source>ToolNotesDamaged</source>
        <translation>
            <numerusform>%n note protégée de %1 n’a pas pu être lue ; le fichier sera mis de côté au prochain enregistrement</numerusform>
            <numerusform>%n notes protégées de %1 n’ont pas pu être lues ; le fichier sera mis de côté au prochain enregistrement</numerusform>
        </translation>
    </message>
    <message>
        <source>ToolNotesExportedUnencrypted</source>
        <translation>%1 contient les notes protégées en clair</translation>
    </message>
    <message numerus="yes">
        <source>ToolNotesImported</source>
        <translation>
            <numerusform>%n note importée</numerusform>
            <numerusform>%n notes importées</numerusform>
        </translation>
    </message>
    <message>
        <source>ToolNotesNeedsTitle</source>
        <translation>une note doit avoir un titre</translation>
    </message>
    <message>
        <source>ToolNotesNoPassword</source>
        <translation>pas de mot de passe sur la première ligne de l’entrée standard</translation>
    </message>
    <message>
        <source>ToolNotesNoSuchTitle</source>
        <translation>aucune note n’a pour titre « %1 »</translation>
    </message>
    <message>
        <source>ToolNotesNoneInFile</source>
        <translation>%1 ne contient aucune note</translation>
    </message>
    <message>
        <source>ToolNotesNotSealed</source>
        <translation>une note n’a pas pu être scellée.</translation>
    </message>
    <message>
        <source>ToolNotesNotWritten</source>
        <translation>%1 n’a pas pu être écrit : %2 Rien n’a été modifié</translation>
    </message>
    <message>
        <source>ToolNotesRepeatPassword</source>
        <translation>%1 prend ce mot de passe comme le sien : répétez-le sur la deuxième ligne de l’entrée standard ; rien n’a été modifié</translation>
    </message>
    <message>
        <source>ToolNotesUsage</source>
        <translation>Utilisation : korvale-notes [--protected] COMMANDE
  list            affiche les titres des notes, un par ligne
  show TITRE      affiche le texte de la note qui porte ce titre
  add TITRE       ajoute une note dont le texte est l’entrée standard
  import FICHIER  ajoute les notes d’un fichier texte (titre TAB texte TAB ..., une par ligne)
  export FICHIER  écrit toutes les notes dans FICHIER sous cette forme (« - » : sortie standard)
--protected agit sur les notes protégées : la première ligne de l’entrée standard est le
mot de passe, et pour add le texte la suit. Quand add ou import donne le mot de passe à
un fichier qui n’a pas encore de note protégée, ou en réécrit un du premier format, la
deuxième ligne doit répéter le mot de passe (le texte la suit alors).
Code de sortie : 0 fait, 1 échec (rien n’a changé), 2 mauvaise utilisation, 3 mauvais mot
de passe ou non répété (rien n’a changé).
</translation>
    </message>
    <message>
        <source>ToolNotesWrongPassword</source>
        <translation>mot de passe incorrect ; rien n’a été modifié</translation>
    </message>
    <message>
        <source>ToolSearchAgentSilent</source>
        <translation>l’agent n’a pas répondu (%1) ; lecture des listes enregistrées</translation>
    </message>
    <message>
        <source>ToolSearchNotAList</source>
        <translation>%1 ne contient pas de liste ; recherche dans les autres listes</translation>
    </message>
    <message>
        <source>ToolSearchProtected</source>
        <translation>les notes protégées ne se cherchent que dans l’agent, après le mot de passe</translation>
    </message>
    <message>
        <source>ToolSearchUnreadable</source>
        <translation>impossible de lire %1 (%2) ; recherche dans les autres listes</translation>
    </message>
    <message>
        <source>ToolSearchUsage</source>
        <translation>Utilisation : korvale-search [--type N] [--json] [--files] RECHERCHE
  --type N   0 tout (par défaut), 1 applications, 2 fichiers, 3 signets,
             4 contacts, 5 notes, 9 historique du presse-papiers
  --json     affiche les résultats sous forme de tableau JSON
  --files    lit les listes enregistrées même quand l’agent tourne
Affiche un résultat par ligne : genre, titre, chemin ou adresse, séparés par des tabulations.
</translation>
    </message>
    <message>
        <source>TourBack</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>TourDone</source>
        <translation>Commencer</translation>
    </message>
    <message>
        <source>TourNext</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>TourPage1</source>
        <translation>Tapez deux fois sur Super, où que vous soyez : la fenêtre d’accès s’ouvre.</translation>
    </message>
    <message>
        <source>TourPage2</source>
        <translation>Tapez quelques lettres : applications, fichiers et notes se trouvent à mesure. Entrée ouvre.</translation>
    </message>
    <message>
        <source>TourPage3</source>
        <translation>La flèche droite ouvre le menu de la ligne : un dossier montre ce qu’il contient, et les dossiers où il se trouve.</translation>
    </message>
    <message>
        <source>TourTitle</source>
        <translation>Bienvenue dans Korvale</translation>
    </message>
    <message>
        <source>UncorrectPasswordText</source>
        <translation>Ce mot de passe n’ouvre pas vos notes protégées.</translation>
    </message>
    <message>
        <source>UncorrectPasswordTitle</source>
        <translation>Mot de passe incorrect</translation>
    </message>
    <message>
        <source>UpperCaseText</source>
        <translation>MAJUSCULES</translation>
    </message>
    <message>
        <source>VIDEO</source>
        <translation>vidéo</translation>
    </message>
    <message>
        <source>VOICE</source>
        <translation>téléphone</translation>
    </message>
    <message>
        <source>WORK</source>
        <translation>travail</translation>
    </message>
    <message>
        <source>WORK FAX</source>
        <translation>fax travail</translation>
    </message>
    <message>
        <source>Welcome</source>
        <translation>Bienvenue</translation>
    </message>
    <message>
        <source>WelcomeText</source>
        <translation>Korvale garde vos applications, fichiers, notes et presse-papiers à portée de main. Ouvrez la fenêtre d’accès avec %1, tapez quelques lettres, puis Entrée.</translation>
    </message>
    <message>
        <source>WelcomeTextNoGesture</source>
        <translation>Korvale garde vos applications, fichiers, notes et presse-papiers à portée de main. Ouvrez la fenêtre d’accès depuis l’icône de Korvale dans la barre du bureau, tapez quelques lettres, puis Entrée.</translation>
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
        <source>Command</source>
        <translation>Super</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Retour arrière</translation>
    </message>
    <message>
        <source>DownArrow</source>
        <translation>Bas</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Entrée (pavé)</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Échap</translation>
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
        <translation>Début</translation>
    </message>
    <message>
        <source>LeftArrow</source>
        <translation>Gauche</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>NumLock</source>
        <translation>Verr. num.</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>PageDown</source>
        <translation>Page suiv.</translation>
    </message>
    <message>
        <source>PageUp</source>
        <translation>Page préc.</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>Entrée</translation>
    </message>
    <message>
        <source>RightArrow</source>
        <translation>Droite</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Maj</translation>
    </message>
    <message>
        <source>SpaceBar</source>
        <translation>Espace</translation>
    </message>
    <message>
        <source>Suppression</source>
        <translation>Suppr</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>UpArrow</source>
        <translation>Haut</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>OUI</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <source>ContinueButton</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>ContinueRemovedButton</source>
        <translation>Je l’ai supprimé, continuer</translation>
    </message>
    <message>
        <source>CopyInfo</source>
        <translation>• copie %1</translation>
    </message>
    <message>
        <source>CopyProcess</source>
        <translation>Copie de %1 dans %2…</translation>
    </message>
    <message>
        <source>CopyProcessError</source>
        <translation>%1 n’a pas pu être copié.</translation>
    </message>
    <message>
        <source>DesktopCopyLeft</source>
        <translation>%1 reste à sa place ; une copie qui n’a pas pu être supprimée se trouve dans %2.</translation>
    </message>
    <message>
        <source>DesktopMoveSplit</source>
        <translation>%1 se trouve désormais en entier dans %2 ; ce qu’il en reste dans %3 n’a pas pu être supprimé.</translation>
    </message>
    <message>
        <source>ERROR !</source>
        <translation>ERREUR !</translation>
    </message>
    <message>
        <source>ErrorCopying</source>
        <translation>Un fichier n’a pas pu être copié.</translation>
    </message>
    <message>
        <source>ErrorLaunchApplication</source>
        <translation>Un programme n’a pas pu être lancé.</translation>
    </message>
    <message>
        <source>ErrorMovingToDesktop</source>
        <translation>Un élément n’a pas pu être déplacé sur le bureau.</translation>
    </message>
    <message>
        <source>ErrorMovingToTrash</source>
        <translation>Un élément n’a pas pu être mis à la corbeille.</translation>
    </message>
    <message>
        <source>ErrorQuitProcess</source>
        <translation>Un programme ne s’est pas fermé.</translation>
    </message>
    <message>
        <source>ErrorTrashText</source>
        <translation>« %1 » n’a pu être mis ni à la corbeille ni sur le bureau. Supprimez-le vous-même, puis continuez ; ou interrompez.</translation>
    </message>
    <message>
        <source>ErrorTrashTitle</source>
        <translation>La corbeille a refusé un élément</translation>
    </message>
    <message>
        <source>InformationButton</source>
        <translation>Ce qui sera fait…</translation>
    </message>
    <message>
        <source>InstallAlertNewVersionText</source>
        <translation>%1 va être installé pour vous.</translation>
    </message>
    <message>
        <source>InstallAlertText</source>
        <translation>La copie installée de %1 sera remplacée (elle part à la corbeille). Vos réglages et vos données sont conservés.</translation>
    </message>
    <message>
        <source>InstallAlertTitle</source>
        <translation>Installer ?</translation>
    </message>
    <message>
        <source>InstallButton</source>
        <translation>Installer</translation>
    </message>
    <message>
        <source>InstallInfo</source>
        <translation>L’installation de %1 fait ceci :</translation>
    </message>
    <message>
        <source>InstallationAbortedByUserText</source>
        <translation>Vous avez arrêté l’opération ; les étapes déjà faites le restent.</translation>
    </message>
    <message>
        <source>InstallationAbortedByUserTitle</source>
        <translation>Arrêté</translation>
    </message>
    <message>
        <source>InstallationAbortedWithErrorsText</source>
        <translation>L’opération s’est arrêtée :
%1Le produit et le dossier d’installation sont affichés dans le gestionnaire de fichiers.</translation>
    </message>
    <message>
        <source>InstallationAbortedWithErrorsTitle</source>
        <translation>Arrêt sur une erreur</translation>
    </message>
    <message>
        <source>InstallationCompletedText</source>
        <translation>%1 est installé. Le lancer maintenant ?</translation>
    </message>
    <message>
        <source>InstallationCompletedTitle</source>
        <translation>Installé</translation>
    </message>
    <message>
        <source>InstallationDeletedAbortedWithErrorsText</source>
        <translation>L’opération s’est arrêtée :
%1Une copie est encore installée ; elle est affichée dans le gestionnaire de fichiers.</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Installation de %1</translation>
    </message>
    <message>
        <source>InterruptButton</source>
        <translation>Interrompre</translation>
    </message>
    <message>
        <source>LaunchButton</source>
        <translation>Lancer</translation>
    </message>
    <message>
        <source>LaunchInfo</source>
        <translation>• propose de lancer %1 à la fin</translation>
    </message>
    <message>
        <source>LaunchProcess</source>
        <translation>Lancement de %1…</translation>
    </message>
    <message>
        <source>LaunchProcessError</source>
        <translation>%1 n’a pas pu être lancé.</translation>
    </message>
    <message>
        <source>NewsButton</source>
        <translation>Nouveautés</translation>
    </message>
    <message>
        <source>NoQuitProcess</source>
        <translation>%1 n’est pas en cours d’exécution.</translation>
    </message>
    <message>
        <source>NoVersionInstall</source>
        <translation>%1 n’est pas encore installé.</translation>
    </message>
    <message>
        <source>NoVersionUninstall</source>
        <translation>%1 n’est pas installé : il n’y a rien à désinstaller, hormis ce qu’une copie précédente aurait laissé.</translation>
    </message>
    <message>
        <source>OKButton</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>QuitButton</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>QuitInfo</source>
        <translation>• quitte les programmes de %1 en cours d’exécution</translation>
    </message>
    <message>
        <source>QuitProcess</source>
        <translation>Fermeture de %1…</translation>
    </message>
    <message>
        <source>QuitProcessError</source>
        <translation>%1 ne s’est pas fermé.</translation>
    </message>
    <message>
        <source>RemoveSettingsOption</source>
        <translation>Supprimer aussi mes réglages et mes données</translation>
    </message>
    <message>
        <source>ScriptMissingText</source>
        <translation>Il n’y a rien à installer ici : le script de l’installateur %1 est absent.

Cet exemplaire de qor-installer est le programme seul, tel que la compilation le laisse. Construisez le dossier d’installation, qui contient le script et la suite, puis lancez le programme qui s’y trouve :</translation>
    </message>
    <message>
        <source>SettingsFolderButton</source>
        <translation>Afficher les fichiers de l’installeur</translation>
    </message>
    <message>
        <source>SimulateTrashErrorOption</source>
        <translation>Simuler une erreur de corbeille</translation>
    </message>
    <message>
        <source>StopButton</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>StoreButton</source>
        <translation>Site web</translation>
    </message>
    <message>
        <source>The script file 'installscript.txt' is not correct.</source>
        <translation>Le fichier de script « installscript.txt » n’est pas correct.</translation>
    </message>
    <message>
        <source>TrashInfo</source>
        <translation>• met %1 à la corbeille</translation>
    </message>
    <message>
        <source>TrashItem</source>
        <translation>Mise à la corbeille de %1…</translation>
    </message>
    <message>
        <source>TrashItemError</source>
        <translation>%1 n’a pas pu être supprimé.</translation>
    </message>
    <message>
        <source>UninstallAlertText</source>
        <translation>%1 sera supprimé avec vos réglages et vos données : notes, listes et préférences partent à la corbeille.</translation>
    </message>
    <message>
        <source>UninstallAlertTitle</source>
        <translation>Désinstaller ?</translation>
    </message>
    <message>
        <source>UninstallButton</source>
        <translation>Désinstaller</translation>
    </message>
    <message>
        <source>UninstallIgnoreSettingsAlertText</source>
        <translation>%1 sera supprimé. Vos réglages et vos données sont conservés.</translation>
    </message>
    <message>
        <source>UninstallInfo</source>
        <translation>La désinstallation de %1 fait ceci :</translation>
    </message>
    <message>
        <source>UninstallationCompletedText</source>
        <translation>%1 est désinstallé.</translation>
    </message>
    <message>
        <source>UninstallationCompletedTitle</source>
        <translation>Désinstallé</translation>
    </message>
    <message>
        <source>Uninstalling</source>
        <translation>Désinstallation de %1</translation>
    </message>
    <message>
        <source>VersionInstall</source>
        <translation>La version %1 de %2 est installée. L’installation la remplace par cette version.</translation>
    </message>
    <message>
        <source>VersionInstallSameVersion</source>
        <translation>La version %1 de %2 est déjà installée. Une nouvelle installation la remplace par la même version.</translation>
    </message>
    <message>
        <source>VersionUninstall</source>
        <translation>La désinstallation supprime la version %1 de %2.</translation>
    </message>
    <message>
        <source>WindowTitle</source>
        <translation>Installation de %1</translation>
    </message>
    <message>
        <source>WindowTitleNoProduct</source>
        <translation>Installateur</translation>
    </message>
</context>
</TS>
