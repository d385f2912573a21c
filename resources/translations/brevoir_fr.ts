<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Localizable</name>
    <message>
        <source>SavedTimerUnusable</source>
        <translation>Le minuteur enregistré (%1) n’est pas utilisable ; il est donc désactivé. Réglez-le à nouveau dans « Minuteur ».</translation>
    </message>
    <message>
        <source>StartAtBox</source>
        <translation>Commencer l’enregistrement à</translation>
    </message>
    <message>
        <source>StartAtBoxHelp</source>
        <translation>Brevoir attend et commence l’enregistrement au moment ci-dessous ; le minuteur, s’il est activé, le termine.</translation>
    </message>
    <message>
        <source>StartAtField</source>
        <translation>Heure de début</translation>
    </message>
    <message>
        <source>StartAtFieldHelp</source>
        <translation>La date et l’heure de début de l’enregistrement.</translation>
    </message>
    <message>
        <source>VoiceBox</source>
        <translation>Enregistrer quand il y a du son</translation>
    </message>
    <message>
        <source>VoiceBoxHelp</source>
        <translation>Un son au-dessus du seuil démarre un enregistrement ; le silence réglé l’arrête ou le met en pause.</translation>
    </message>
    <message>
        <source>VoiceThresholdField</source>
        <translation>Seuil</translation>
    </message>
    <message>
        <source>VoiceThresholdFieldHelp</source>
        <translation>Le niveau qui compte comme du son, en dB sous la pleine échelle.</translation>
    </message>
    <message>
        <source>VoiceSilenceField</source>
        <translation>Silence</translation>
    </message>
    <message>
        <source>VoiceSilenceFieldHelp</source>
        <translation>Durée de calme avant que l’enregistrement s’arrête ou se mette en pause.</translation>
    </message>
    <message>
        <source>VoiceAfterSilenceMenu</source>
        <translation>Après le silence</translation>
    </message>
    <message>
        <source>VoiceAfterSilenceMenuHelp</source>
        <translation>Arrêter l’enregistrement (le son suivant en commence un nouveau) ou le mettre en pause (le son suivant le reprend).</translation>
    </message>
    <message>
        <source>VoiceThenStop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>VoiceThenPause</source>
        <translation>Mettre en pause</translation>
    </message>
    <message>
        <source>VoicePreRollField</source>
        <translation>Conservé avant</translation>
    </message>
    <message>
        <source>VoicePreRollFieldHelp</source>
        <translation>Quantité de son avant le déclenchement incluse au début, pour ne couper aucune première syllabe.</translation>
    </message>
    <message>
        <source>InsertTimeStamp</source>
        <translation>Insérer un repère temporel</translation>
    </message>
    <message>
        <source>TimeStampNeedsAPlace</source>
        <translation>Un repère temporel marque un endroit d’un enregistrement : enregistrez ou lisez-en un d’abord.</translation>
    </message>
    <message>
        <source>MarkNeedsARecording</source>
        <translation>aucun enregistrement n’est en cours</translation>
    </message>
    <message>
        <source>CloseWhileRecordingTitle</source>
        <translation>Fermer la fenêtre ?</translation>
    </message>
    <message>
        <source>CloseWhileRecordingQuestion</source>
        <translation>Brevoir peut continuer en arrière-plan, avec « Arrêter » à portée de main, ou s’arrêter maintenant et quitter.</translation>
    </message>
    <message>
        <source>KeepRecordingInBackground</source>
        <translation>Continuer l’enregistrement en arrière-plan</translation>
    </message>
    <message>
        <source>KeepRecordingInBackgroundHelp</source>
        <translation>Ferme la fenêtre ; l’enregistrement continue et le bureau l’affiche avec « Arrêter ».</translation>
    </message>
    <message>
        <source>StopAndQuit</source>
        <translation>Arrêter et quitter</translation>
    </message>
    <message>
        <source>StopAndQuitHelp</source>
        <translation>Termine l’enregistrement en gardant ce qui a été enregistré, et quitte Brevoir.</translation>
    </message>
    <message>
        <source>BackgroundRecording</source>
        <translation>Enregistre « %1 » en arrière-plan.</translation>
    </message>
    <message>
        <source>BackgroundListening</source>
        <translation>Écoute en arrière-plan : un enregistrement commence dès qu’un son arrive.</translation>
    </message>
    <message>
        <source>BackgroundScheduled</source>
        <translation>Attend en arrière-plan l’enregistrement programmé.</translation>
    </message>
    <message>
        <source>BackgroundStop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>NoticeRecordingFinished</source>
        <translation>Enregistrement terminé</translation>
    </message>
    <message>
        <source>NoticeRecordingFailed</source>
        <translation>Enregistrement interrompu</translation>
    </message>
    <message>
        <source>NoticeRecordingBody</source>
        <translation>%1 (%2) : %3</translation>
    </message>
    <message>
        <source>NoticeEndedByTimer</source>
        <translation>le minuteur l’a terminé.</translation>
    </message>
    <message>
        <source>NoticeEndedBySilence</source>
        <translation>il s’est terminé après le silence réglé.</translation>
    </message>
    <message>
        <source>NoticeEndedByWriteError</source>
        <translation>le fichier n’a pas pu être écrit (le disque est-il plein ?).</translation>
    </message>
    <message>
        <source>NoticeEndedByDeviceLost</source>
        <translation>le périphérique d’entrée a disparu.</translation>
    </message>
    <message>
        <source>NoticeShow</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>NoticePlay</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>NoticeSyncFinished</source>
        <translation>Synchronisation terminée</translation>
    </message>
    <message>
        <source>NoticeSyncFailed</source>
        <translation>Échec de la synchronisation</translation>
    </message>
    <message>
        <source>ScheduleNeedsAStart</source>
        <translation>Indiquez l’heure à laquelle l’enregistrement doit commencer.</translation>
    </message>
    <message>
        <source>ScheduleLengthOutOfRange</source>
        <translation>La durée doit être comprise entre 0 et 9942 heures.</translation>
    </message>
    <message>
        <source>ScheduleStartPassed</source>
        <translation>L’heure de début %1 est déjà passée.</translation>
    </message>
    <message>
        <source>ScheduleRefusedWhileListening</source>
        <translation>L’activation vocale est active ; désactivez-la pour programmer un enregistrement.</translation>
    </message>
    <message>
        <source>ScheduleMissed</source>
        <translation>L’enregistrement programmé pour %1 n’a pas commencé : Brevoir ne fonctionnait pas à ce moment-là.</translation>
    </message>
    <message>
        <source>ScheduleFoundRecording</source>
        <translation>L’enregistrement programmé n’a pas commencé, car un enregistrement était déjà en cours.</translation>
    </message>
    <message>
        <source>StateListening</source>
        <translation>En attente de son</translation>
    </message>
    <message>
        <source>StateScheduled</source>
        <translation>Programmé %1</translation>
    </message>
    <message>
        <source>VoiceThresholdOutOfRange</source>
        <translation>Le seuil doit être compris entre −60 et 0 dBFS.</translation>
    </message>
    <message>
        <source>VoiceSilenceOutOfRange</source>
        <translation>Le silence doit durer entre 0,1 et 3600 secondes.</translation>
    </message>
    <message>
        <source>VoicePreRollOutOfRange</source>
        <translation>Le temps conservé avant le son doit être compris entre 0 et 3 secondes.</translation>
    </message>
    <message>
        <source>VoiceUnknownSetting</source>
        <translation>L’activation vocale n’a pas de réglage « %1 ».</translation>
    </message>
    <message>
        <source>VoiceSettingNotUnderstood</source>
        <translation>La valeur de « %1 » n’a pas été comprise.</translation>
    </message>
    <message>
        <source>VoiceRefusedWhileScheduled</source>
        <translation>Un enregistrement est programmé ; annulez-le pour utiliser l’activation vocale.</translation>
    </message>
    <message>
        <source>VoiceRefusedWhileMonitoring</source>
        <translation>Arrêtez l’écoute de l’entrée avant d’activer l’activation vocale.</translation>
    </message>
    <message>
        <source>VoiceRefusedWhileRecording</source>
        <translation>Arrêtez l’enregistrement en cours avant d’activer l’activation vocale.</translation>
    </message>
    <message>
        <source>VoiceCouldNotListen</source>
        <translation>L’activation vocale n’a pas pu écouter l’entrée : %1</translation>
    </message>
    <message>
        <source>VoiceNotRestored</source>
        <translation>L’activation vocale est désactivée cette fois : %1</translation>
    </message>
    <message>
        <source>RecoveredRecordings</source>
        <translation>%1 enregistrements interrompus par un plantage récupérés : %2</translation>
    </message>
    <message>
        <source>RecoveredOneRecording</source>
        <translation>%1 enregistrement interrompu par un plantage récupéré : %2</translation>
    </message>
    <message>
        <source>DoesNotPlay</source>
        <translation>il ne peut pas être lu : %1</translation>
    </message>
    <message>
        <source>PlaysOtherLength</source>
        <translation>il ne joue que %1 s des %2 s annoncées</translation>
    </message>
    <message>
        <source>SettingsForThisRunOnly</source>
        <translation>%1 Les réglages ne valent que pour cette session.</translation>
    </message>
    <message>
        <source>NotRecoveredStillBroken</source>
        <translation>complété, mais %1</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêt</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Snip</source>
        <translation>Couper</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Minuteur</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>Synchroniser</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>DeleteToolbar</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Temps</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier…</translation>
    </message>
    <message>
        <source>DeleteDialog</source>
        <translation>Supprimer les enregistrements sélectionnés ?</translation>
    </message>
    <message>
        <source>CannotUndo</source>
        <translation>Chaque enregistrement est supprimé avec sa note. Vous ne pourrez pas annuler cette opération depuis Brevoir.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Personal</source>
        <translation>Personnel</translation>
    </message>
    <message>
        <source>Business</source>
        <translation>Professionnel</translation>
    </message>
    <message>
        <source>Project1</source>
        <translation>Projet1</translation>
    </message>
    <message>
        <source>Project2</source>
        <translation>Projet2</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barre d'outils</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Espace</translation>
    </message>
    <message>
        <source>FlexibleSpace</source>
        <translation>Espace souple</translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Séparateur</translation>
    </message>
    <message>
        <source>Customize</source>
        <translation>Personnaliser</translation>
    </message>
    <message>
        <source>CustomizeToolbarMenu</source>
        <translation>Personnaliser la barre d'outils…</translation>
    </message>
    <message>
        <source>CustomizeToolbarTitle</source>
        <translation>Personnaliser la barre d'outils</translation>
    </message>
    <message>
        <source>CustomizeToolbarHint</source>
        <translation>Faites glisser vos éléments préférés dans la barre d'outils. Faites glisser un élément hors de la barre pour le retirer.</translation>
    </message>
    <message>
        <source>RestoreDefaults</source>
        <translation>Rétablir les réglages par défaut</translation>
    </message>
    <message>
        <source>EmptyLibraryHint</source>
        <translation>Aucun enregistrement pour l'instant. Appuyez sur Enregistrement ou Ctrl+R pour en faire un.</translation>
    </message>
    <message>
        <source>RemoveCategoryTitle</source>
        <translation>Supprimer la catégorie</translation>
    </message>
    <message>
        <source>RemoveCategoryQuestionOne</source>
        <translation>Supprimer « %1 » ? L’enregistrement qui y est classé passe dans « %2 ».</translation>
    </message>
    <message>
        <source>RemoveCategoryQuestionMany</source>
        <translation>Supprimer « %1 » ? Les %3 enregistrements qui y sont classés passent dans « %2 ».</translation>
    </message>
    <message>
        <source>RemoveFirstCategoryQuestion</source>
        <translation>Supprimer « %1 » ? Les enregistrements qui y sont classés (%2) la gardent comme catégorie, mais elle ne sera plus proposée.</translation>
    </message>
    <message>
        <source>RemoveCategoryButton</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Rec</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>MediaFileGone</source>
        <translation>le fichier n’existe plus</translation>
    </message>
    <message>
        <source>MediaNoPermission</source>
        <translation>vous n’avez pas le droit de lire ou d’écrire ce fichier</translation>
    </message>
    <message>
        <source>MediaDiskFull</source>
        <translation>le disque est plein</translation>
    </message>
    <message>
        <source>MediaDiskError</source>
        <translation>le disque n’a pas pu être lu ou écrit</translation>
    </message>
    <message>
        <source>MediaDamaged</source>
        <translation>le fichier est endommagé ou n’est pas un fichier son</translation>
    </message>
    <message>
        <source>MediaCannotWriteKind</source>
        <translation>ce type de fichier son ne peut pas être écrit ici</translation>
    </message>
    <message>
        <source>MediaOtherProblem</source>
        <translation>la bibliothèque audio n’a pas pu le traiter (%1)</translation>
    </message>
    <message>
        <source>NoteViewName</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>ElapsedTimeName</source>
        <translation>Temps écoulé</translation>
    </message>
    <message>
        <source>InputLevelName</source>
        <translation>Niveau d’entrée</translation>
    </message>
    <message>
        <source>RecorderStateName</source>
        <translation>État de l’enregistreur</translation>
    </message>
    <message>
        <source>SearchFieldName</source>
        <translation>Rechercher dans les enregistrements</translation>
    </message>
    <message>
        <source>RecordingsListName</source>
        <translation>Enregistrements</translation>
    </message>
    <message>
        <source>RecordingsListDescription</source>
        <translation>Les flèches passent d’un enregistrement à l’autre, Espace lit, F2 renomme.</translation>
    </message>
    <message>
        <source>PlayerName</source>
        <translation>Lecteur</translation>
    </message>
    <message>
        <source>RecordingGroupName</source>
        <translation>Commandes d’enregistrement</translation>
    </message>
    <message>
        <source>PlaybackGroupName</source>
        <translation>Commandes de lecture</translation>
    </message>
    <message>
        <source>HoursFieldName</source>
        <translation>Heures</translation>
    </message>
    <message>
        <source>MinutesFieldName</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>SecondsFieldName</source>
        <translation>Secondes</translation>
    </message>
    <message>
        <source>PositionSliderName</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>PositionOfDuration</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>NoteNeedsASelection</source>
        <translation>Sélectionnez un enregistrement pour écrire une note à son sujet.</translation>
    </message>
    <message>
        <source>NoteNeedsOneSelection</source>
        <translation>%1 enregistrements sont sélectionnés. Sélectionnez-en un seul pour écrire sa note.</translation>
    </message>
    <message>
        <source>RemedyChooseFolder</source>
        <translation>Choisir un autre dossier…</translation>
    </message>
    <message>
        <source>RemedySoundSettings</source>
        <translation>Ouvrir les réglages du son…</translation>
    </message>
    <message>
        <source>RemedyStopMonitoring</source>
        <translation>Arrêter l’écoute et enregistrer</translation>
    </message>
    <message>
        <source>MessageBarName</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>MessageBarClose</source>
        <translation>Fermer ce message</translation>
    </message>
    <message>
        <source>StateRecording</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>StatePaused</source>
        <translation>En pause</translation>
    </message>
    <message>
        <source>StateMonitoring</source>
        <translation>Écoute</translation>
    </message>
    <message>
        <source>MeterLevels</source>
        <translation>Gauche %1 %, droite %2 %</translation>
    </message>
    <message>
        <source>CFBundleName</source>
        <translation>Brevoir</translation>
    </message>
    <message>
        <source>AboutTitle</source>
        <translation>À propos de %1</translation>
    </message>
    <message>
        <source>VersionFormat</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>NSHumanReadableCopyright</source>
        <translation>Copyright © 2026 Les développeurs de Brevoir.</translation>
    </message>
    <message>
        <source>SyncBeginning</source>
        <translation>Préparation de la synchronisation…</translation>
    </message>
    <message>
        <source>SyncConfigure</source>
        <translation>Préparation de la liste de lecture</translation>
    </message>
    <message>
        <source>SyncRetrieving</source>
        <translation>Lecture des morceaux de la liste…</translation>
    </message>
    <message>
        <source>SyncCopying</source>
        <translation>Copie de %1 sur %2 : %3</translation>
    </message>
    <message>
        <source>SyncConverting</source>
        <translation>Conversion de %1 sur %2 : %3</translation>
    </message>
    <message>
        <source>SyncUnavailable</source>
        <translation>La synchronisation n’est pas disponible : aucun composant de listes de lecture n’a pu être chargé.</translation>
    </message>
    <message>
        <source>SyncRunning</source>
        <translation>Une synchronisation est déjà en cours.</translation>
    </message>
    <message>
        <source>SyncNoFiles</source>
        <translation>Il n’y a aucun enregistrement à synchroniser.</translation>
    </message>
    <message>
        <source>SyncCancelled</source>
        <translation>La synchronisation a été annulée.</translation>
    </message>
    <message>
        <source>SyncingFiles</source>
        <translation>Synchronisation de %1 fichiers.</translation>
    </message>
    <message>
        <source>SyncLeftOut</source>
        <translation>Non synchronisé pendant l’enregistrement, laissé pour la prochaine synchronisation : %1</translation>
    </message>
    <message>
        <source>SyncFinished</source>
        <translation>Synchronisation terminée…</translation>
    </message>
    <message>
        <source>SyncMenuItem</source>
        <translation>S&amp;ynchroniser avec la liste de lecture</translation>
    </message>
    <message>
        <source>PlaylistTooManyEntries</source>
        <translation>%1 contient plus de %2 entrées ; le fichier a été laissé tel quel.</translation>
    </message>
    <message>
        <source>PlaylistChanged</source>
        <translation>%1 a été modifié par un autre programme pendant la synchronisation ; rien n’y a plus été ajouté.</translation>
    </message>
    <message>
        <source>PlaylistFolderProtected</source>
        <translation>La liste de lecture « %1 » placerait ses fichiers dans %2, qui est %3, le contient ou s’y trouve. Choisissez un autre nom de liste de lecture.</translation>
    </message>
    <message>
        <source>ImportFileShrank</source>
        <translation>il a raccourci pendant la copie</translation>
    </message>
    <message>
        <source>ImportBeingWritten</source>
        <translation>il est encore en cours d’écriture</translation>
    </message>
    <message>
        <source>DecoderDamagedPartWay</source>
        <translation>son audio est endommagé en cours de route</translation>
    </message>
    <message>
        <source>DecoderReadFailed</source>
        <translation>la lecture a échoué en cours de route : %1</translation>
    </message>
    <message>
        <source>PositionSliderTip</source>
        <translation>Faites glisser pour vous déplacer dans l’enregistrement</translation>
    </message>
    <message>
        <source>CannotPlay</source>
        <translation>« %1 » ne peut pas être lu : %2</translation>
    </message>
    <message>
        <source>SoundOutputUnavailable</source>
        <translation>La sortie audio ne peut pas être ouverte : %1</translation>
    </message>
    <message>
        <source>DecoderFormatUndecodable</source>
        <translation>son audio est dans un format qui ne peut pas être décodé</translation>
    </message>
    <message>
        <source>DecoderNoSound</source>
        <translation>il ne contient aucun son</translation>
    </message>
    <message>
        <source>OutOfMemory</source>
        <translation>mémoire insuffisante</translation>
    </message>
    <message>
        <source>DecoderUnknownFormat</source>
        <translation>son format audio est inconnu</translation>
    </message>
    <message>
        <source>DecoderCannotDecode</source>
        <translation>son audio ne peut pas être décodé</translation>
    </message>
    <message>
        <source>OutputFormatUnsupported</source>
        <translation>le format de la sortie audio n’est pas pris en charge</translation>
    </message>
    <message>
        <source>PlayerFileAlreadyOpen</source>
        <translation>un fichier est déjà ouvert</translation>
    </message>
    <message>
        <source>SoundOutputUnusable</source>
        <translation>la sortie audio ne peut pas être utilisée</translation>
    </message>
    <message>
        <source>NoSoundOutput</source>
        <translation>il n’y a aucune sortie audio</translation>
    </message>
    <message>
        <source>PlayerNoFileOpen</source>
        <translation>aucun fichier n’est ouvert</translation>
    </message>
    <message>
        <source>TrashFolderCannotBeMade</source>
        <translation>Le dossier de la corbeille %1 ne peut pas être créé.</translation>
    </message>
    <message>
        <source>TrashRefused</source>
        <translation>La corbeille a refusé le fichier.</translation>
    </message>
    <message>
        <source>TrashLeftInPlace</source>
        <translation>Le fichier est toujours dans son dossier après son déplacement vers la corbeille.</translation>
    </message>
    <message>
        <source>TrashMisplaced</source>
        <translation>La corbeille a placé le fichier hors de tout dossier de corbeille.</translation>
    </message>
    <message>
        <source>FileNotRead</source>
        <translation>%1 n'a pas pu être lu : %2</translation>
    </message>
    <message>
        <source>FileNotWritten</source>
        <translation>%1 n'a pas pu être écrit : %2. Le fichier est resté tel quel.</translation>
    </message>
    <message>
        <source>FileIsAFolder</source>
        <translation>%1 est un dossier, pas un fichier ; il a été laissé tel quel.</translation>
    </message>
    <message>
        <source>FileIsALink</source>
        <translation>%1 est un lien ; il a été laissé tel quel et rien n'a été écrit à travers lui.</translation>
    </message>
    <message>
        <source>FileIsSpecial</source>
        <translation>%1 est un tube, un périphérique ou un socket, pas un fichier ; il a été laissé tel quel.</translation>
    </message>
    <message>
        <source>FileLinksOutside</source>
        <translation>%1 mène hors de %2 par un lien ; il n'a pas été lu.</translation>
    </message>
    <message>
        <source>FileTooLarge</source>
        <translation>%1 dépasse %2 Mo ; il n'a pas été lu.</translation>
    </message>
    <message>
        <source>DropAlreadyInLibrary</source>
        <translation>Déjà dans la bibliothèque, laissés tels quels : %1</translation>
    </message>
    <message>
        <source>DropCopyFailed</source>
        <translation>N’ont pas pu être copiés : %1</translation>
    </message>
    <message>
        <source>DropSomeNotCopied</source>
        <translation>Certains fichiers n’ont pas été copiés dans la bibliothèque.</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Gras</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Italique</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Souligné</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Police</translation>
    </message>
    <message>
        <source>FontSize</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>TextColourButton</source>
        <translation>Couleur…</translation>
    </message>
    <message>
        <source>AlignLeft</source>
        <translation>Aligner à gauche</translation>
    </message>
    <message>
        <source>AlignCentre</source>
        <translation>Centrer</translation>
    </message>
    <message>
        <source>AlignRight</source>
        <translation>Aligner à droite</translation>
    </message>
    <message>
        <source>AlignJustify</source>
        <translation>Justifier</translation>
    </message>
    <message>
        <source>BulletedList</source>
        <translation>Liste à puces</translation>
    </message>
    <message>
        <source>NumberedList</source>
        <translation>Liste numérotée</translation>
    </message>
    <message>
        <source>BoldShort</source>
        <translation>G</translation>
    </message>
    <message>
        <source>ItalicShort</source>
        <translation>I</translation>
    </message>
    <message>
        <source>UnderlineShort</source>
        <translation>S</translation>
    </message>
    <message>
        <source>ColourShort</source>
        <translation>A</translation>
    </message>
    <message>
        <source>TextColour</source>
        <translation>Couleur du texte</translation>
    </message>
    <message>
        <source>NotARecordingFileName</source>
        <translation>« %1 » n’est pas le nom d’un fichier du dossier « Recordings ».</translation>
    </message>
    <message>
        <source>NoRecordingNamed</source>
        <translation>Il n’y a aucun enregistrement nommé « %1 ».</translation>
    </message>
    <message>
        <source>BeingRecorded</source>
        <translation>« %1 » est en cours d’enregistrement.</translation>
    </message>
    <message>
        <source>PlayingStopFirst</source>
        <translation>« %1 » est en cours de lecture ; arrêtez d’abord la lecture.</translation>
    </message>
    <message>
        <source>NotDeleted</source>
        <translation>Non supprimés : %1</translation>
    </message>
    <message>
        <source>CouldNotDeleteBecause</source>
        <translation>« %1 » n’a pas pu être supprimé : %2</translation>
    </message>
    <message>
        <source>CouldNotDelete</source>
        <translation>« %1 » n’a pas pu être supprimé.</translation>
    </message>
    <message>
        <source>DeleteOneQuestion</source>
        <translation>Supprimer « %1 » ?</translation>
    </message>
    <message numerus="yes">
        <source>DeleteManyQuestion</source>
        <translation>
            <numerusform>Supprimer %n enregistrement ?</numerusform>
            <numerusform>Supprimer %n enregistrements ?</numerusform>
        </translation>
    </message>
    <message>
        <source>NoteWouldBeShared</source>
        <translation>« %1 » partagerait sa note avec « %2 ».</translation>
    </message>
    <message>
        <source>NoteInTheWay</source>
        <translation>Le dossier Notes contient déjà %1, qui serait remplacé.</translation>
    </message>
    <message>
        <source>NoteCannotFollow</source>
        <translation>Sa note %1 ne peut pas la suivre : %2</translation>
    </message>
    <message>
        <source>NoteLeftAt</source>
        <translation>Sa note n’a pas pu être remise en place et se trouve maintenant à %1 : %2</translation>
    </message>
    <message>
        <source>NotePicturesLeftOut</source>
        <translation>La note de « %1 » contient plus d’images que les %2 qu’une note peut contenir ; les autres ont été laissées de côté.</translation>
    </message>
    <message>
        <source>NoteLoading</source>
        <translation>Chargement de la note…</translation>
    </message>
    <message>
        <source>NoteLeftUnread</source>
        <translation>la note enregistrée n’a pas pu être lue ; elle est donc laissée telle quelle.</translation>
    </message>
    <message>
        <source>NoteNotAFolder</source>
        <translation>%1 n’est pas un dossier de note ; il a été laissé tel quel.</translation>
    </message>
    <message>
        <source>NoteFolderMissing</source>
        <translation>Le dossier %1 n’existe pas.</translation>
    </message>
    <message>
        <source>NoteHasNoName</source>
        <translation>Aucun nom n’a été donné pour la note.</translation>
    </message>
    <message>
        <source>TrashNotWritable</source>
        <translation>La corbeille %1 n’est pas accessible en écriture : %2</translation>
    </message>
    <message>
        <source>TrashFolderUnsafe</source>
        <translation>%1 n’est pas un dossier de corbeille à vous (c’est un lien ou il appartient à quelqu’un d’autre) ; il n’est pas utilisé.</translation>
    </message>
    <message>
        <source>NoTrashOnVolume</source>
        <translation>%1 ne peut pas aller à la corbeille : son disque n’a pas de corbeille utilisable (%2)</translation>
    </message>
    <message>
        <source>TrashMoveFailed</source>
        <translation>%1 n’a pas pu être mis à la corbeille : %2</translation>
    </message>
    <message>
        <source>TrashNoFreeName</source>
        <translation>La corbeille %1 n’a plus de nom libre pour %2.</translation>
    </message>
    <message>
        <source>NotRenamedBecause</source>
        <translation>« %1 » n’a pas été renommé : %2</translation>
    </message>
    <message>
        <source>NotRenamed</source>
        <translation>L’enregistrement n’a pas été renommé.</translation>
    </message>
    <message>
        <source>NoteNotSaved</source>
        <translation>La note de « %1 » n’a pas pu être enregistrée : %2</translation>
    </message>
    <message>
        <source>ExportNote</source>
        <translation>Exporter la note</translation>
    </message>
    <message>
        <source>NoteNotExported</source>
        <translation>La note n’a pas pu être exportée : %1</translation>
    </message>
    <message>
        <source>UnknownNoteFormat</source>
        <translation>Format de note inconnu « %1 » : utilisez plain, markdown, html ou rtf.</translation>
    </message>
    <message>
        <source>NoteNotReadOf</source>
        <translation>La note de « %1 » n’a pas pu être lue : %2</translation>
    </message>
    <message>
        <source>NoteNotRead</source>
        <translation>La note n’a pas pu être lue : %1</translation>
    </message>
    <message>
        <source>EmptyNoteNotStored</source>
        <translation>Une note vide n’est pas enregistrée ; la note reste telle qu’elle était.</translation>
    </message>
    <message>
        <source>FormatRtfd</source>
        <translation>Texte enrichi avec pièces jointes (*.rtfd)</translation>
    </message>
    <message>
        <source>FormatRtf</source>
        <translation>Texte enrichi (*.rtf)</translation>
    </message>
    <message>
        <source>FormatOdt</source>
        <translation>Texte OpenDocument (*.odt)</translation>
    </message>
    <message>
        <source>FormatHtml</source>
        <translation>Page web (*.html *.htm)</translation>
    </message>
    <message>
        <source>FormatMarkdown</source>
        <translation>Markdown (*.md)</translation>
    </message>
    <message>
        <source>FormatPlain</source>
        <translation>Texte brut (*.txt)</translation>
    </message>
    <message>
        <source>OdtNotMade</source>
        <translation>Le fichier OpenDocument n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>NameColumn</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>CategoryColumn</source>
        <translation>Catégorie</translation>
    </message>
    <message>
        <source>DateColumn</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>SizeColumn</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>DurationColumn</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>NameEmpty</source>
        <translation>Un enregistrement doit avoir un nom.</translation>
    </message>
    <message>
        <source>NameHoldsNul</source>
        <translation>Un nom de fichier ne peut pas contenir de caractère NUL.</translation>
    </message>
    <message>
        <source>NameHoldsControl</source>
        <translation>Un nom ne peut pas contenir de caractère de contrôle (comme un saut de ligne ou une tabulation) : la bibliothèque ne pourrait pas l’enregistrer.</translation>
    </message>
    <message>
        <source>NameNotPlain</source>
        <translation>« %1 » ne peut pas être un nom de fichier : un nom ne peut être ni « . » ni « .. », ni contenir « / ».</translation>
    </message>
    <message>
        <source>NameTooLong</source>
        <translation>Le nom est plus long que ne le permet le système de fichiers (%1 octets).</translation>
    </message>
    <message>
        <source>NameTaken</source>
        <translation>Il existe déjà un fichier nommé « %1 ».</translation>
    </message>
    <message>
        <source>CategoriesFileStuck</source>
        <translation>Le fichier des catégories %1 ne peut être ni lu (%2) ni mis de côté ; les catégories ne seront pas enregistrées dans cette bibliothèque.</translation>
    </message>
    <message>
        <source>CategoriesFileKeptAside</source>
        <translation>Le fichier des catégories n’a pas pu être lu (%1) ; il a été conservé sous le nom %2 et les catégories par défaut sont utilisées.</translation>
    </message>
    <message>
        <source>LastCategory</source>
        <translation>La dernière catégorie ne peut pas être supprimée.</translation>
    </message>
    <message>
        <source>LibraryNotOpen</source>
        <translation>La bibliothèque n’est pas encore ouverte.</translation>
    </message>
    <message>
        <source>CategoriesNotSaved</source>
        <translation>Les catégories n’ont pas pu être enregistrées : %1</translation>
    </message>
    <message>
        <source>CategoriesFileNotAFile</source>
        <translation>%1 Les catégories par défaut sont utilisées pour l’instant, et les modifications des catégories ne peuvent pas être enregistrées dans cette bibliothèque.</translation>
    </message>
    <message>
        <source>CategoryNameRefused</source>
        <translation>La catégorie n’a pas été renommée : un nom de catégorie ne peut pas contenir de caractères de contrôle.</translation>
    </message>
    <message>
        <source>NotACategory</source>
        <translation>« %1 » ne fait pas partie des catégories.</translation>
    </message>
    <message>
        <source>LibraryFolderUnusable</source>
        <translation>Le dossier de la bibliothèque ne peut pas être utilisé : %1</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Choisir</translation>
    </message>
    <message>
        <source>InputMissingUsingDefault</source>
        <translation>L’entrée « %1 » n’est pas connectée ; l’enregistrement se fait depuis l’entrée par défaut jusqu’à son retour.</translation>
    </message>
    <message>
        <source>InputMissingUsingFallback</source>
        <translation>L’entrée « %1 » n’est pas connectée ; l’enregistrement se fait depuis l’entrée par défaut « %2 » jusqu’à son retour.</translation>
    </message>
    <message>
        <source>SoundSettings</source>
        <translation>Réglages du son</translation>
    </message>
    <message>
        <source>ExportRecordingPanel</source>
        <translation>Exporter les enregistrements dans un dossier</translation>
    </message>
    <message>
        <source>ExportRecordingFormat</source>
        <translation>Format :</translation>
    </message>
    <message>
        <source>ExportingRecording</source>
        <translation>Exportation de « %1 » (%2 sur %3)…</translation>
    </message>
    <message>
        <source>ExportFailed</source>
        <translation>« %1 » n’a pas été exporté : %2</translation>
    </message>
    <message>
        <source>ExportUnknownExtension</source>
        <translation>« %1 » n’a pas d’extension vers laquelle Brevoir exporte ; utilisez l’une de %2.</translation>
    </message>
    <message>
        <source>ExportNoFolder</source>
        <translation>Le dossier « %1 » n’existe pas.</translation>
    </message>
    <message>
        <source>ExportFileExists</source>
        <translation>« %1 » existe déjà ; Brevoir ne le remplace pas.</translation>
    </message>
    <message>
        <source>ExportRunning</source>
        <translation>Une exportation est déjà en cours.</translation>
    </message>
    <message>
        <source>ExportNothingSelected</source>
        <translation>Sélectionnez d’abord les enregistrements à exporter.</translation>
    </message>
    <message>
        <source>ExportNoFormats</source>
        <translation>Le FFmpeg installé n’offre aucun des formats vers lesquels Brevoir exporte.</translation>
    </message>
    <message>
        <source>ImportNameTaken</source>
        <translation>« %1 » existe déjà.</translation>
    </message>
    <message>
        <source>WaveformName</source>
        <translation>Forme d’onde</translation>
    </message>
    <message>
        <source>WaveformDescription</source>
        <translation>La forme d’onde de l’enregistrement avec la position de lecture ; cliquer pour lire à partir de là</translation>
    </message>
    <message>
        <source>WaveformTip</source>
        <translation>Cliquer ou glisser pour aller à cet endroit ; Gauche et Droite avancent de 5 secondes (avec Maj, 30)</translation>
    </message>
    <message>
        <source>LevelHistoryName</source>
        <translation>Historique des niveaux</translation>
    </message>
    <message>
        <source>LevelHistoryTip</source>
        <translation>Les niveaux d’entrée de la dernière minute (crête et RMS, en dBFS) ; cliquer pour effacer la marque d’écrêtage</translation>
    </message>
    <message>
        <source>LevelHistoryDescription</source>
        <translation>Les niveaux d’entrée de la dernière minute ; aucun écrêtage</translation>
    </message>
    <message>
        <source>LevelHistoryClipped</source>
        <translation>L’entrée a écrêté : un échantillon a atteint la pleine échelle. Appuyez sur Espace pour effacer la marque.</translation>
    </message>
    <message>
        <source>LevelHistoryClip</source>
        <translation>ÉCRÊTAGE</translation>
    </message>
    <message>
        <source>InputGainLabel</source>
        <translation>Gain d’entrée :</translation>
    </message>
    <message>
        <source>InputGainName</source>
        <translation>Gain d’entrée</translation>
    </message>
    <message>
        <source>InputGainTip</source>
        <translation>Le volume de l’entrée sur le serveur de son, tel que le mélangeur du bureau l’affiche</translation>
    </message>
    <message>
        <source>InputGainNotAdjustable</source>
        <translation>Le gain de cette entrée ne peut pas être réglé ici</translation>
    </message>
    <message>
        <source>InputGainOutOfRange</source>
        <translation>Le gain d’entrée doit être compris entre 0 et %1 %.</translation>
    </message>
    <message>
        <source>InputGainUnavailable</source>
        <translation>L’entrée choisie n’a pas de gain que le serveur de son contrôle.</translation>
    </message>
    <message>
        <source>InputGainRefused</source>
        <translation>Le serveur de son n’a pas accepté le nouveau gain d’entrée.</translation>
    </message>
    <message>
        <source>InputLevelLabel</source>
        <translation>Niveau :</translation>
    </message>
    <message>
        <source>InputLevelUnavailable</source>
        <translation>Le niveau de l’entrée ne peut pas être mesuré</translation>
    </message>
    <message>
        <source>MonitorOfOutput</source>
        <translation>Moniteur de %1</translation>
    </message>
    <message>
        <source>SoundServerFallback</source>
        <translation>Le serveur de son n’a pas répondu (%1) : enregistrement direct depuis « %2 » à la place.</translation>
    </message>
    <message>
        <source>DefaultInput</source>
        <translation>Entrée par défaut</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stéréo</translation>
    </message>
    <message>
        <source>SampleSize16</source>
        <translation>16 bits</translation>
    </message>
    <message>
        <source>SampleSize24</source>
        <translation>24 bits</translation>
    </message>
    <message>
        <source>NoCompression</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>CompressionIma4</source>
        <translation>IMA 4:1</translation>
    </message>
    <message>
        <source>InputLabel</source>
        <translation>Entrée :</translation>
    </message>
    <message>
        <source>RateLabel</source>
        <translation>Fréquence :</translation>
    </message>
    <message>
        <source>ChannelsLabel</source>
        <translation>Canaux :</translation>
    </message>
    <message>
        <source>SampleSizeLabel</source>
        <translation>Résolution :</translation>
    </message>
    <message>
        <source>CompressionLabel</source>
        <translation>Compression :</translation>
    </message>
    <message>
        <source>PlaythroughLabel</source>
        <translation>Écoute directe :</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivée</translation>
    </message>
    <message>
        <source>SampleRateHz</source>
        <translation>%1 Hz</translation>
    </message>
    <message numerus="yes">
        <source>CopyingIntoLibrary</source>
        <translation>
            <numerusform>Copie de %n enregistrement dans la bibliothèque…</numerusform>
            <numerusform>Copie de %n enregistrements dans la bibliothèque…</numerusform>
        </translation>
    </message>
    <message>
        <source>Recording stopped: the file could not be written (%1).</source>
        <translation>Enregistrement arrêté : le fichier n’a pas pu être écrit (%1).</translation>
    </message>
    <message>
        <source>Recording stopped: the sound input went away. What was recorded until then is kept.</source>
        <translation>Enregistrement arrêté : l’entrée audio a disparu. Ce qui a été enregistré jusque-là est conservé.</translation>
    </message>
    <message>
        <source>Sound was lost while recording: %1 block(s) dropped so far because the disk could not keep up.</source>
        <translation>Du son a été perdu pendant l’enregistrement : %1 bloc(s) abandonné(s) jusqu’ici, car le disque ne suivait pas.</translation>
    </message>
    <message>
        <source>Hours, minutes and seconds cannot be negative.</source>
        <translation>Les heures, minutes et secondes ne peuvent pas être négatives.</translation>
    </message>
    <message>
        <source>The timer can be at most 9942 hours, 3 minutes and 14 seconds.</source>
        <translation>Le minuteur peut aller jusqu’à 9942 heures, 3 minutes et 14 secondes au plus.</translation>
    </message>
    <message>
        <source>PlaylistNeedsName</source>
        <translation>La liste de lecture doit avoir un nom.</translation>
    </message>
    <message>
        <source>PlaylistNameInvalid</source>
        <translation>« %1 » ne peut pas être le nom d’une liste de lecture.</translation>
    </message>
    <message>
        <source>PlaylistNameSlash</source>
        <translation>Le nom d’une liste de lecture ne peut pas contenir « / ».</translation>
    </message>
    <message>
        <source>PlaylistNameControl</source>
        <translation>Le nom d’une liste de lecture ne peut contenir ni retour à la ligne ni caractère de contrôle.</translation>
    </message>
    <message>
        <source>PlaylistNameTooLong</source>
        <translation>Le nom de la liste de lecture est trop long.</translation>
    </message>
    <message>
        <source>PlaylistNotWritten</source>
        <translation>La liste de lecture %1 n’a pas pu être écrite : %2</translation>
    </message>
    <message>
        <source>EncoderNotInstalled</source>
        <translation>Aucun encodeur « %1 » n’est installé.</translation>
    </message>
    <message>
        <source>EncoderOutOfMemory</source>
        <translation>mémoire insuffisante</translation>
    </message>
    <message>
        <source>EncoderNoSound</source>
        <translation>il ne contient aucun son</translation>
    </message>
    <message>
        <source>ImportFolderNotMade</source>
        <translation>Le dossier %1 n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>ImportNotImported</source>
        <translation>Non importés : %1</translation>
    </message>
    <message>
        <source>ImportLineBreak</source>
        <translation>son nom contient un retour à la ligne</translation>
    </message>
    <message>
        <source>ImportTooManyNames</source>
        <translation>trop de fichiers de ce nom</translation>
    </message>
    <message>
        <source>ImportCancelled</source>
        <translation>annulé</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Brevoir</source>
        <translation>Brevoir</translation>
    </message>
    <message>
        <source>Elapsed time</source>
        <translation>Temps écoulé</translation>
    </message>
    <message>
        <source>Input level</source>
        <translation>Niveau d'entrée</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>A note about the selected recording</source>
        <translation>Une note sur l'enregistrement sélectionné</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Start or stop a recording</source>
        <translation>Démarrer ou arrêter un enregistrement</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Pause or resume the recording</source>
        <translation>Mettre en pause ou reprendre l'enregistrement</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>End this recording and start the next at once</source>
        <translation>Terminer cet enregistrement et commencer aussitôt le suivant</translation>
    </message>
    <message>
        <source>Snip</source>
        <translation>Couper</translation>
    </message>
    <message>
        <source>Listen to the input and watch its level</source>
        <translation>Écouter l'entrée et surveiller son niveau</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>Écoute</translation>
    </message>
    <message>
        <source>Stop recordings after a set time</source>
        <translation>Arrêter les enregistrements après une durée choisie</translation>
    </message>
    <message>
        <source>Timer…</source>
        <translation>Minuteur…</translation>
    </message>
    <message>
        <source>Input device, rate, channels and format</source>
        <translation>Périphérique d'entrée, fréquence, canaux et format</translation>
    </message>
    <message>
        <source>Sound…</source>
        <translation>Son…</translation>
    </message>
    <message>
        <source>Input gain</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Play or pause the selected recording</source>
        <translation>Lire ou mettre en pause l'enregistrement sélectionné</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Stop playing</source>
        <translation>Arrêter la lecture</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Categories</source>
        <translation>&amp;Catégories</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Recording</source>
        <translation>&amp;Enregistrement</translation>
    </message>
    <message>
        <source>&amp;Playback</source>
        <translation>&amp;Lecture</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;ide</translation>
    </message>
    <message>
        <source>&amp;Export Note…</source>
        <translation>&amp;Exporter la note…</translation>
    </message>
    <message>
        <source>E&amp;xport Recording…</source>
        <translation>E&amp;xporter l’enregistrement…</translation>
    </message>
    <message>
        <source>Show in File &amp;Manager</source>
        <translation>Afficher dans le gestionnaire de &amp;fichiers</translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation>&amp;Renommer</translation>
    </message>
    <message>
        <source>&amp;Delete…</source>
        <translation>&amp;Supprimer…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Couper</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>Co&amp;pier</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>C&amp;oller</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Tout sélectionner</translation>
    </message>
    <message>
        <source>&amp;Find…</source>
        <translation>Rec&amp;hercher…</translation>
    </message>
    <message>
        <source>Pr&amp;eferences…</source>
        <translation>Pré&amp;férences…</translation>
    </message>
    <message>
        <source>Show &amp;Toolbar</source>
        <translation>Afficher la &amp;barre d'outils</translation>
    </message>
    <message>
        <source>&amp;Customize Toolbar…</source>
        <translation>&amp;Personnaliser la barre d'outils…</translation>
    </message>
    <message>
        <source>&amp;Record / Stop</source>
        <translation>&amp;Enregistrer / Arrêter</translation>
    </message>
    <message>
        <source>&amp;Pause / Resume</source>
        <translation>&amp;Pause / Reprendre</translation>
    </message>
    <message>
        <source>&amp;Snip</source>
        <translation>&amp;Couper</translation>
    </message>
    <message>
        <source>&amp;Monitor Input</source>
        <translation>&amp;Surveiller l'entrée</translation>
    </message>
    <message>
        <source>&amp;Timer…</source>
        <translation>&amp;Minuteur…</translation>
    </message>
    <message>
        <source>Sound S&amp;ettings…</source>
        <translation>&amp;Réglages du son…</translation>
    </message>
    <message>
        <source>&amp;Play / Pause</source>
        <translation>&amp;Lire / Pause</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Arrêter</translation>
    </message>
    <message>
        <source>Brevoir &amp;Help</source>
        <translation>&amp;Aide de Brevoir</translation>
    </message>
    <message>
        <source>&amp;Tell a Friend…</source>
        <translation>&amp;Recommander à un ami…</translation>
    </message>
    <message>
        <source>&amp;About Brevoir</source>
        <translation>À &amp;propos de Brevoir</translation>
    </message>
</context>
<context>
    <name>MainInterface</name>
    <message>
        <source>Choose…</source>
        <translation>Choisir…</translation>
    </message>
    <message>
        <source>No Conversion</source>
        <translation>Aucune conversion</translation>
    </message>
</context>
<context>
    <name>BVController</name>
    <message>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Some recordings could not be repaired and were left as they are: %1</source>
        <translation>Certains enregistrements n’ont pas pu être réparés et ont été laissés tels quels : %1</translation>
    </message>
    <message>
        <source>Recording is not possible: no sound input could be set up.</source>
        <translation>L’enregistrement est impossible : aucune entrée audio n’a pu être configurée.</translation>
    </message>
    <message>
        <source>Stop monitoring the input before you record.</source>
        <translation>Arrêtez l’écoute de l’entrée avant d’enregistrer.</translation>
    </message>
    <message>
        <source>The recording could not start: the library folder cannot be used: %1</source>
        <translation>L’enregistrement n’a pas pu démarrer : le dossier de la bibliothèque ne peut pas être utilisé : %1</translation>
    </message>
    <message>
        <source>The recording could not start: %1</source>
        <translation>L’enregistrement n’a pas pu démarrer : %1</translation>
    </message>
    <message>
        <source>The recording could not start. Check the input device in Sound Settings.</source>
        <translation>L’enregistrement n’a pas pu démarrer. Vérifiez le périphérique d’entrée dans les réglages du son.</translation>
    </message>
    <message>
        <source>The input could not be monitored: %1</source>
        <translation>L’entrée n’a pas pu être écoutée : %1</translation>
    </message>
    <message>
        <source>The input could not be monitored.</source>
        <translation>L’entrée n’a pas pu être écoutée.</translation>
    </message>
</context>
<context>
    <name>SyncStatusPanel</name>
    <message>
        <source>Sync</source>
        <translation>Synchroniser</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>TimerWindow</name>
    <message>
        <source>Timer</source>
        <translation>Minuteur</translation>
    </message>
    <message>
        <source>Stop each recording after this length:</source>
        <translation>Arrêter chaque enregistrement après cette durée :</translation>
    </message>
    <message>
        <source>h</source>
        <translation>h</translation>
    </message>
    <message>
        <source>min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Timer on</source>
        <translation>Minuteur activé</translation>
    </message>
</context>
<context>
    <name>PreferencesPanel</name>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>Library folder:</source>
        <translation>Dossier de la bibliothèque :</translation>
    </message>
    <message>
        <source>Playlist name:</source>
        <translation>Nom de la liste de lecture :</translation>
    </message>
    <message>
        <source>Convert when syncing:</source>
        <translation>Convertir lors de la synchronisation :</translation>
    </message>
    <message>
        <source>Move deleted recordings to the trash</source>
        <translation>Placer les enregistrements supprimés dans la corbeille</translation>
    </message>
    <message>
        <source>Two-way sync with the playlist</source>
        <translation>Synchroniser dans les deux sens avec la liste de lecture</translation>
    </message>
</context>
<context>
    <name>CategoryEditor</name>
    <message>
        <source>Categories</source>
        <translation>Catégories</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
</context>
</TS>
