#pragma once

#include <QString>

class QWidget;

// What the workbench's Help menu shows: the user guide's "Using it" part of
// the README, built into the program, and the About box.

// The part of a Markdown text under the level-two heading `heading`, up to
// the next level-two heading, without its pictures (a dialog cannot show
// the README's image files). Empty when there is no such heading.
QString markdownSection(const QString& markdown, const QString& heading);

void showUsingItDialog(QWidget* parent);

struct AboutFacts
{
    QString pluginName;
    QString pluginVersion;
    // The sensor description document the plug-in reads, or why there is none.
    QString descriptionDocument;
};
void showAboutBox(QWidget* parent, const AboutFacts& facts);
