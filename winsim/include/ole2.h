/* OLE: COM services and OLE Automation together, as Windows' ole2.h brings them. */
#ifndef _OLE2_H_
#define _OLE2_H_

#include <objbase.h>
#include <oleauto.h>

#endif
