<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Localizable</name>
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
        <translation>Chaque enregistrement part avec sa note. Vous ne pourrez pas l’annuler depuis Brevoir.</translation>
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
        <translation>Minuterie…</translation>
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
        <translation>&amp;Minuterie…</translation>
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
</TS>
