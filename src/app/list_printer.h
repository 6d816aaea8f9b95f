#pragma once

#include <QString>

class CLiedkramDoc;
class QPrinter;

// What printList prints, as HTML.
QString listHtml(const CLiedkramDoc& document);

// Prints the list: the document title, then the printed columns of every row
// as a table over as many pages as needed.
void printList(const CLiedkramDoc& document, QPrinter& printer);
