// When the printer hears which command: the job start on the document's first page, the page end after
// each page's image, and the document end. Everything goes through the device's output buffer; write
// failures there make later writes no-ops, so these operations report nothing.
#pragma once

#include "pdev.h"

// At each page start. Writes reset, label format, position and cut and print settings on page 1 of the
// document, sets the first-page flag and prepares the comparison buffers.
void WriteJobHeader(PDEV* pdev);
// After a page's image: the quantity command(s).
void WritePageEnd(PDEV* pdev);
// At the end of a document whose header was written: releases the comparison buffers and cuts when the
// label asks for it.
void WriteDocumentEnd(PDEV* pdev);
