// The label file: the printer's label list as comma-separated code page 932 text, through which
// users move their labels between printers and machines. Any process may import or export at any
// time (two applications, or the spooler and an application), so every read and write of such a
// file is serialised by the named mutex "PaperInfo".
#pragma once

#include "devmode.h"

// Replaces the record's label list with the default two entries and the labels of the file at
// path. Lines that are not well formed are skipped one by one. Returns FALSE (with the reason in
// GetLastError) when the file could not be opened or read to its end, leaving the default entries,
// or when the mutex could not be taken, leaving the record untouched.
BOOL ImportLabelFile(DRVDEVMODE* rec, LPCWSTR path);
// Writes the record's label list to a new file at path, replacing any file there. Returns FALSE
// (with the reason in GetLastError) when the file could not be created or written; a file that
// could not be written whole is removed rather than left half written.
BOOL ExportLabelFile(const DRVDEVMODE* rec, LPCWSTR path);
