#pragma once
// Every text the window shows that can hold a file name goes through here,
// so that a name is shown as it stands: Qt reads text that looks like markup
// as rich text, where a name such as `<img src="...">.jpg` would load a file.

#include <QString>

class QLabel;
class QMessageBox;

// The label or the box shows whatever text it is given as plain text.
void ShowPlainText(QLabel& label);
void ShowPlainText(QMessageBox& box);

// For places that always read markup (tool tips): rich text that shows
// plain exactly, its spaces and line breaks kept.
QString RichTextShowing(const QString& plain);
