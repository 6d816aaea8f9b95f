#pragma once

class CLiedkramDoc;
class QPrinter;

// Prints the list: the document title, then the first twelve columns of every
// row as a table over as many pages as needed.
void printList(const CLiedkramDoc& document, QPrinter& printer);
