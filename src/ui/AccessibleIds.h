#pragma once

class QWidget;

// Gives window and every widget below it its object name as accessible
// identifier, so that assistive technology and UI automation find widgets
// by the names the program gives them. Widgets carry such identifiers from
// Qt 6.9 on; with an older Qt this does nothing.
void setAccessibleIdentifiers(QWidget* window);
