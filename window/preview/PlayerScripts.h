#pragma once
// The SWF player that plays the preview. The web engine has no Flash plug-in,
// so the bundled player (a JavaScript and WebAssembly one) is put into every
// page as user scripts; it replaces the page's object tag with itself.

#include <QList>
#include <QString>
#include <QWebEngineScript>

// Where the program finds the player: beside its own executable in the build
// tree, under share/ beside its bin folder when installed; empty for a build
// made without the player.
QString DefaultPlayerFolder();

// Whether folder holds the player's start script.
bool PlayerFolderIsComplete(const QString& folder);

// The scripts that load the player from folder into a page; when the player is
// not there (or folder is empty: no player in this build), a script that puts
// a one-line notice saying so at the page's top.
QList<QWebEngineScript> PlayerScripts(const QString& folder);
