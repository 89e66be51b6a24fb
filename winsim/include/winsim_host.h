/* winsim host API: how tests and tools set up and watch the simulated Windows that a driver library runs in.
 *
 * Plain C, usable from C and C++. Names are UTF-8. The simulated state is process-wide and shared by
 * everything loaded into the process, because libwinsim.so is one shared library. All functions are
 * thread-safe.
 *
 * Typical use in a test:
 *     winsim_reset();
 *     winsim_add_printer("Label 1", "KT Driver", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL);
 *     winsim_set_printer_devmode("Label 1", &dm, dm_size);
 *     ... call the driver ...
 *     EXPECT_EQ(winsim_open_handles(), 0u);
 */
#ifndef WINSIM_HOST_H
#define WINSIM_HOST_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define WINSIM_HOST_API __attribute__((visibility("default")))

/* Back to a fresh machine: forgets every printer with its data, default device record, driver facts and jobs,
   closes every printer handle (later calls with one fail with ERROR_INVALID_HANDLE), deletes every engine
   surface, palette and device, restores the driver directory and the Windows version defaults, clears faults,
   call counts and the call log. Files, mutexes and their handles are left alone, as is the file root. */
WINSIM_HOST_API void winsim_reset(void);

/* Adds a local printer. NULL driver name, port or print processor mean "". Returns 1, or 0 when the name is
   NULL, empty or already taken (printer names compare case-insensitively, as on Windows). */
WINSIM_HOST_API int winsim_add_printer(const char* name, const char* driver_name, const char* port,
                                       const char* print_processor, uint32_t attributes);

/* Removes a printer. Open handles to it stay open but their calls fail with ERROR_PRINTER_DELETED.
   Returns 1, or 0 for an unknown printer. */
WINSIM_HOST_API int winsim_remove_printer(const char* name);

/* Stores `size` bytes as the printer's default device record (DEVMODEW plus driver extra), exactly as given.
   NULL or size 0 removes it, so that GetPrinterW reports pDevMode NULL. Returns 1, or 0 for an unknown
   printer. */
WINSIM_HOST_API int winsim_set_printer_devmode(const char* printer, const void* devmode, uint32_t size);

/* Copies min(size, stored size) bytes of the default device record into buf (which may be NULL when size is
   0). Returns the stored size, or -1 when the printer is unknown or has none. */
WINSIM_HOST_API int32_t winsim_get_printer_devmode(const char* printer, void* buf, uint32_t size);

/* Sets the printer-data value `value` (compared case-insensitively) to `size` raw bytes of registry type
   `type` (REG_SZ data is UTF-16LE, with its terminating NUL if the value should have one). Returns 1, or 0
   for an unknown printer or NULL data with a nonzero size. */
WINSIM_HOST_API int winsim_set_printer_data(const char* printer, const char* value, uint32_t type,
                                            const void* data, uint32_t size);

/* Reads a printer-data value: stores its type in *type (when type is not NULL), copies min(size, stored size)
   bytes into buf (which may be NULL when size is 0) and returns the stored size, which may be 0; -1 when the
   printer or the value is unknown. */
WINSIM_HOST_API int32_t winsim_get_printer_data(const char* printer, const char* value, uint32_t* type,
                                                void* buf, uint32_t size);

/* Deletes a printer-data value. Returns 1, or 0 when the printer or the value is unknown. */
WINSIM_HOST_API int winsim_delete_printer_data(const char* printer, const char* value);

/* Installs the printer's driver files, as GetPrinterDriverW reports them. A name without a backslash is taken
   as a file in the version-3 folder of the driver directory ("<driver directory>\3\<name>"), where the
   spooler keeps installed driver files; a full path is reported as given. NULL means no such file (the field
   reads NULL). Until this is called, GetPrinterDriverW fails with ERROR_UNKNOWN_PRINTER_DRIVER. Returns 1, or
   0 for an unknown printer. */
WINSIM_HOST_API int winsim_set_printer_driver(const char* printer, const char* driver_path,
                                              const char* data_file, const char* config_file,
                                              const char* help_file);

/* Sets the driver directory that GetPrinterDriverDirectoryW reports; NULL restores the default
   "C:\Windows\System32\spool\drivers\x64". */
WINSIM_HOST_API void winsim_set_driver_directory(const char* dir);

/* Sets the Windows version that GetVersionExW and VerifyVersionInfoW report. product_type is
   VER_NT_WORKSTATION (1), VER_NT_DOMAIN_CONTROLLER (2) or VER_NT_SERVER (3); platform_id is
   VER_PLATFORM_WIN32_NT (2) or VER_PLATFORM_WIN32_WINDOWS (1). The default is Windows 10 workstation: 10.0
   build 19045, no service pack, NT. The answer is what the process is told, i.e. after any compatibility
   rules of the real system. */
WINSIM_HOST_API void winsim_set_windows_version(uint32_t major, uint32_t minor, uint32_t service_pack_major,
                                                uint32_t build, uint8_t product_type, uint32_t platform_id);

/* Fault injection. `service` is a Windows function name ("GlobalAlloc", "GetPrinterDataW", "CreateFileW",
   ...). After `skip` more calls of it succeed, the next `count` calls fail the way that service fails on
   Windows (see README.md for each service's failure and default error). A new call for the same service
   replaces the previous plan. Returns 1, or 0 for a name that is not a winsim service. */
WINSIM_HOST_API int winsim_fail_calls(const char* service, uint32_t skip, uint32_t count);

/* As winsim_fail_calls, but the failures report `error` (a Win32 error code) instead of the service's
   default, e.g. ERROR_ACCESS_DENIED for SetPrinterDataW to act as a user without administrator rights. */
WINSIM_HOST_API int winsim_fail_calls_with(const char* service, uint32_t skip, uint32_t count,
                                           uint32_t error);

/* Same as winsim_fail_calls(service, 0, count). */
WINSIM_HOST_API int winsim_fail_next(const char* service, uint32_t count);

/* Cancels every planned fault. */
WINSIM_HOST_API void winsim_clear_faults(void);

/* Calls of the service since the last reset, counted whether they succeeded or failed; 0 for unknown names.
 */
WINSIM_HOST_API uint32_t winsim_call_count(const char* service);

/* The call log: one line per spooler, engine, file and mutex call with its arguments, in call order, for
   example "OpenPrinterW name=Label 1 access=0x000F000C" or "GetPrinterDataW printer=Label 1 value=Permission
   size=4". A call failed by fault injection ends in " [injected failure]". The log keeps the first 100000
   lines. */
WINSIM_HOST_API size_t winsim_log_size(void);

/* Copies line `index` (from 0) into buf as a NUL-terminated string, truncated to size - 1 bytes. Returns the
   line's full length in bytes without the NUL, or -1 when index is out of range. */
WINSIM_HOST_API int winsim_log_line(size_t index, char* buf, size_t size);

/* Empties the call log. */
WINSIM_HOST_API void winsim_log_clear(void);

/* Printer, file and mutex handles opened and not yet closed in this process. */
WINSIM_HOST_API uint32_t winsim_open_handles(void);

/* Jobs started on the printer with StartDocPrinterW since it was added, ended or not; 0 for an unknown
   printer. */
WINSIM_HOST_API uint32_t winsim_job_count(const char* printer);

/* The bytes WritePrinter took for job `index` (from 0, in the order the jobs were started): copies
   min(size, job size) bytes into buf (which may be NULL when size is 0) and returns the job's size, or -1
   when the printer or the job is unknown. */
WINSIM_HOST_API int32_t winsim_job_bytes(const char* printer, uint32_t index, void* buf, uint32_t size);

/* What StartDocPrinterW was told for job `index` (from 0, in start order): the document name and the data
   type the job got (the document's own, else the handle's, else the printer's), each copied as UTF-8 into
   its buffer, NUL-terminated and truncated to size - 1 bytes (a NULL buffer or size 0 skips it), and in
   *ended (when not NULL) 1 once EndDocPrinter ended the job. Returns 1, or 0 when the printer or the job is
   unknown. */
WINSIM_HOST_API int winsim_job_info(const char* printer, uint32_t index, char* document, size_t document_size,
                                    char* datatype, size_t datatype_size, int* ended);

/* Makes every later WritePrinter on the printer take at most max_bytes_per_call bytes (0: all it is given),
   or, with zero_byte_success nonzero, report success having taken nothing, as a spooler may do. Returns 1, or
   0 for an unknown printer. winsim_reset forgets the setting with the printer. */
WINSIM_HOST_API int winsim_set_write_limit(const char* printer, uint32_t max_bytes_per_call,
                                           int zero_byte_success);

/* Engine surfaces (bitmaps and device surfaces) and palettes created and not yet deleted in this process.
   Engine devices are not counted. */
WINSIM_HOST_API uint32_t winsim_engine_objects(void);

/* Registers an engine device for a driver's physical device, as the graphics engine does between
   DrvEnablePDEV and DrvCompletePDEV, and returns the HDEV the engine passes to DrvCompletePDEV. `dhpdev` is
   what DrvEnablePDEV returned; `default_palette` the DEVINFO.hpalDefault it reported, an engine palette that
   is still alive, or NULL for none. EngAssociateSurface with this HDEV gives the surface SURFOBJ.hdev, the
   device's SURFOBJ.dhpdev and its palette; with an HDEV that is not registered it fails with
   ERROR_INVALID_PARAMETER. Returns NULL when dhpdev is NULL or the palette is not an engine palette.
   winsim_reset removes every device. */
WINSIM_HOST_API void* winsim_engine_add_device(void* dhpdev, void* default_palette);

/* Removes an engine device, as the engine does once it has called DrvDisablePDEV; surfaces associated with it
   keep what they were given. Returns 1, or 0 for an HDEV that is not registered. */
WINSIM_HOST_API int winsim_engine_remove_device(void* hdev);

/* The palette EngAssociateSurface gave the surface (its device's default palette), or NULL for a surface that
   is unknown, not associated, or associated with a device without one. */
WINSIM_HOST_API void* winsim_engine_surface_palette(void* hsurf);

/* COM. Objects the simulated COM classes made (bidi spooler objects, bidi requests, XML documents and every
   node, node list and attribute map handed out) and not yet released to a count of 0, in this process. */
WINSIM_HOST_API uint32_t winsim_com_objects(void);

/* Blocks from CoTaskMemAlloc (including the schema and data buffers IBidiRequest::GetOutputData hands out)
   and strings from SysAllocString/SysAllocStringLen (including the BSTRs the XML objects hand out) not yet
   freed with CoTaskMemFree or SysFreeString, in this process. */
WINSIM_HOST_API uint32_t winsim_com_allocations(void);

/* How many successful CoInitializeEx calls of the calling thread CoUninitialize has not yet matched: 0 when
   COM is not initialised on the thread. winsim_reset leaves it alone (it belongs to the thread). */
WINSIM_HOST_API uint32_t winsim_com_initialized(void);

/* The printer's bidirectional channel, as IBidiSpl answers for it. Adds the value at schema path `schema`
   (UTF-8, e.g. "\Printer.Configuration.Paper:Tray1") or replaces it in its place: its bidi type (BIDI_INT
   ... BIDI_BLOB, or any number, to play a printer that answers nonsense) and `size` raw bytes, handed out
   by IBidiRequest::GetOutputData exactly as given (a BIDI_INT is 4 bytes; text is UTF-16LE, with its NUL
   only if the host includes it). "EnumSchema" lists the paths in the order they were first set; a printer
   without values lists none. Returns 1, or 0 for an unknown printer or NULL data with a nonzero size. */
WINSIM_HOST_API int winsim_set_bidi_value(const char* printer, const char* schema, uint32_t type,
                                          const void* data, uint32_t size);

/* Removes every bidi value of the printer. Returns 1, or 0 for an unknown printer. */
WINSIM_HOST_API int winsim_clear_bidi_values(const char* printer);

/* Sets the host folder that Windows drive paths map into ("C:\dir\f.csv" -> "<root>/c/dir/f.csv"); it is
   created when needed. NULL returns to the default: $WINSIM_ROOT, else "$TMPDIR/winsim-<uid>" (TMPDIR
   defaulting to /tmp). Named mutexes live under the root too, so processes that share a mutex must share the
   root. */
WINSIM_HOST_API void winsim_set_file_root(const char* host_dir);

/* The graphics engine's side of a print job, for a printer graphics driver loaded by path. The front calls
   the driver only through the function table its DrvEnableDriver hands back, in the order Windows' engine
   does. Calls that fail return 0 (NULL) with the reason in GetLastError: the driver's own, or
   ERROR_INVALID_PARAMETER for an unknown handle. */

/* Loads the library and calls DrvEnableDriver with the engine version of Windows XP SP1 and later. Returns
   the driver, or NULL when the library or its DrvEnableDriver is missing or refuses. */
WINSIM_HOST_API void* winsim_engine_load(const char* library_path);

/* DrvDisableDriver, then unloads the library. Devices still open on it must be closed first. */
WINSIM_HOST_API void winsim_engine_unload(void* driver);

/* A device of the driver on a printer, as CreateDC makes it: opens the printer (PRINTER_ACCESS_USE), then
   DrvEnablePDEV with the device record (NULL: none, the driver takes the printer's own) and the printer's
   port as logical address, an engine device registered for it (winsim_engine_add_device), DrvCompletePDEV and
   DrvEnableSurface. Returns the device, or NULL with everything made undone. */
WINSIM_HOST_API void* winsim_engine_open(void* driver, const char* printer, const void* devmode);

/* StartDocPrinterW on the device's printer (the printer's data type), then DrvStartDoc with the job id. */
WINSIM_HOST_API int winsim_engine_start_doc(void* device, const char* document);

/* The page bitmap the driver locked for drawing, as DrvStartPage leaves it: the first row, the bytes from one
   row to the next, pixels, rows and bits per pixel. A test paints its pixels straight into it. */
typedef struct winsim_engine_page {
    void* bits;
    int32_t stride;
    int32_t width;
    int32_t height;
    uint32_t bits_per_pixel;
} winsim_engine_page;

/* DrvStartPage; fills *page (when not NULL) with the bitmap to paint. */
WINSIM_HOST_API int winsim_engine_start_page(void* device, winsim_engine_page* page);

/* Ends the page: DrvSendPage, or, when the driver marked its surface for banding, DrvStartBanding and
   DrvNextBand until the driver answers (-1, -1) (a driver that never does fails with ERROR_INVALID_FUNCTION).
 */
WINSIM_HOST_API int winsim_engine_end_page(void* device);

/* DrvEscape; returns what the driver returns. */
WINSIM_HOST_API uint32_t winsim_engine_escape(void* device, uint32_t escape, const void* in, uint32_t in_size,
                                              void* out, uint32_t out_size);

/* ResetDC in the middle of a document: a new physical device with the record (enabled and completed, its
   surface enabled), DrvResetPDEV(old, new), then the old device disabled. The device handle stays the same.
 */
WINSIM_HOST_API int winsim_engine_reset(void* device, const void* devmode);

/* DrvEndDoc with the flags (ED_ABORTDOC for an aborted document), then EndDocPrinter. */
WINSIM_HOST_API int winsim_engine_end_doc(void* device, uint32_t flags);

/* Disables the device's surface and physical device, removes its engine device and closes the printer; a
   document still open is ended at the spooler. */
WINSIM_HOST_API void winsim_engine_close(void* device);

/* The driver's DHPDEV of the device, for tests that look into it. */
WINSIM_HOST_API void* winsim_engine_device(void* device);

/* What the drawing services (EngBitBlt ... EngTextOut) were asked, one record a call, in call order, so that
   a test sees what a driver handed on. Pointers are the caller's, to compare with what the test passed; the
   values are copies taken at the call. A flag in `given` says which of the optional arguments were there. */
#define WINSIM_DRAW_DEST 0x0001         /* dest: the target rectangle (EngLineTo: the bounds) */
#define WINSIM_DRAW_SOURCE_RECT 0x0002  /* source_rect */
#define WINSIM_DRAW_SOURCE_POINT 0x0004 /* source_point */
#define WINSIM_DRAW_ORIGIN 0x0008       /* origin: brush, halftone or dither origin */
#define WINSIM_DRAW_MASK_POINT 0x0010   /* mask_point */
#define WINSIM_DRAW_CLIP 0x0020         /* clip_complexity, clip_bounds */
#define WINSIM_DRAW_BRUSH 0x0040        /* brush_color, brush_realized */
#define WINSIM_DRAW_BRUSH2 0x0080 /* brush2_color: EngStrokeAndFillPath's fill, EngTextOut's opaque brush */
#define WINSIM_DRAW_COLOR_ADJUST 0x0100 /* color_adjust_values */
#define WINSIM_DRAW_OPAQUE 0x0200       /* EngTextOut: opaque rectangle in dest */

typedef struct winsim_rect {
    int32_t left, top, right, bottom;
} winsim_rect;

typedef struct winsim_point {
    int32_t x, y;
} winsim_point;

typedef struct winsim_draw_call {
    char service[24]; /* "EngBitBlt", "EngStretchBlt", ... */
    int result;       /* what the service returned */
    uint32_t given;   /* WINSIM_DRAW_* */
    void* target;     /* HSURF of the target surface */
    void* source;     /* HSURF of the source surface, or NULL */
    const void* mask;
    const void* clip;
    const void* xlate;
    const void* brush;  /* the BRUSHOBJ handed on */
    const void* brush2; /* the second brush, where a service takes two */
    const void* color_adjust;
    const void* path;
    const void* string;
    uint8_t clip_complexity;
    winsim_rect clip_bounds;
    winsim_rect dest;
    winsim_rect source_rect;
    winsim_point source_point;
    winsim_point origin;
    winsim_point mask_point;
    uint32_t brush_color; /* iSolidColor */
    uint32_t brush2_color;
    const void* brush_realized;      /* pvRbrush */
    int16_t color_adjust_values[12]; /* the COLORADJUSTMENT's fields after caSize and caFlags */
    uint32_t mode;                   /* stretch mode (iMode), gradient mode, EngFillPath's flOptions */
    uint32_t rop;                    /* ROP4 or MIX */
    int32_t line[4];                 /* EngLineTo: x1, y1, x2, y2 */
    uint32_t glyphs;                 /* EngTextOut: glyphs in the string */
} winsim_draw_call;

/* Drawing calls recorded since the last reset or clear (at most 100000 are kept). */
WINSIM_HOST_API size_t winsim_draw_count(void);

/* Copies record `index` (from 0). Returns 1, or 0 when index is out of range. */
WINSIM_HOST_API int winsim_draw_get(size_t index, winsim_draw_call* out);

/* Forgets the recorded drawing calls. */
WINSIM_HOST_API void winsim_draw_clear(void);

/* DDI objects of the engine's, for a test that calls a driver's hook itself. Each lives until it is deleted
   or winsim_reset. */

/* A clip object of complexity DC_TRIVIAL, DC_RECT or DC_COMPLEX over `count` rectangles (left, top, right,
   bottom each; empty ones are left out). rclBounds is their union; CLIPOBJ_cEnumStart and CLIPOBJ_bEnum
   hand them out top to bottom. */
WINSIM_HOST_API void* winsim_clip_create(uint32_t complexity, const int32_t* rects, uint32_t count);
WINSIM_HOST_API void winsim_clip_delete(void* clip);

/* The driver's DrvRealizeBrush, as BRUSHOBJ_pvGetRbrush calls it. */
typedef int (*winsim_realize_brush)(void* pbo, void* pso_target, void* pso_pattern, void* pso_mask,
                                    void* pxlo, uint32_t hatch);

/* A brush with iSolidColor `solid` (0xFFFFFFFF: not solid; the engine then draws it as the colour `color`,
   0x00BBGGRR, dithered on indexed surfaces). BRUSHOBJ_pvGetRbrush realises it by calling `realize` (NULL:
   the driver has none, and the brush gets no realisation) with `target` and `hatch`; BRUSHOBJ_pvAllocRbrush
   gives it a realisation that goes with the brush. */
WINSIM_HOST_API void* winsim_brush_create(uint32_t solid, uint32_t color, uint32_t hatch,
                                          winsim_realize_brush realize, void* target);
WINSIM_HOST_API void winsim_brush_delete(void* brush);

/* A colour translation from a source palette (PAL_INDEXED with `count` colours 0x00BBGGRR, or PAL_RGB /
   PAL_BGR with none) to the engine palette `dest_palette` (NULL: the destination's format decides).
   XLATEOBJ_cGetPalette answers the indexed ones. */
WINSIM_HOST_API void* winsim_xlate_create(uint32_t source_mode, const uint32_t* colors, uint32_t count,
                                          void* dest_palette);
WINSIM_HOST_API void winsim_xlate_delete(void* xlate);

/* A closed polygon path through `count` points (x, y pairs, in pixels), for EngFillPath and EngStrokePath. */
WINSIM_HOST_API void* winsim_path_create(const int32_t* points, uint32_t count);
WINSIM_HOST_API void winsim_path_delete(void* path);

/* An engine bitmap of the given format (BMF_1BPP ... BMF_32BPP), top-down, its rows copied from `bits`
   (stride bytes apart; NULL: white), with an indexed palette of `count` colours or none (count 0). For a
   test's source surfaces; delete it with winsim_bitmap_delete. Returns its SURFOBJ, locked. */
WINSIM_HOST_API void* winsim_bitmap_create(int32_t width, int32_t height, uint32_t format, const void* bits,
                                           int32_t stride, const uint32_t* colors, uint32_t count);
WINSIM_HOST_API void winsim_bitmap_delete(void* surfobj);

/* Drawing on a page, as an application's GDI calls make the engine call the driver's hooks: each builds the
   DDI objects (the device surface's SURFOBJ, a clip object of the page, a solid brush of the colour, a colour
   translation into the device's palette) and calls the hook through the driver's function table. Colours
   are 0x00BBGGRR; coordinates are pixels of the page. Each returns the hook's result (1 or 0), 0 with
   ERROR_INVALID_PARAMETER for an unknown device or bad arguments, ERROR_PROC_NOT_FOUND when the driver does
   not hook the call. */

/* PatBlt with a solid brush: DrvBitBlt, raster operation 0xF0F0. */
WINSIM_HOST_API int winsim_engine_fill_rect(void* device, int32_t left, int32_t top, int32_t right,
                                            int32_t bottom, uint32_t color);

/* A one-pixel line from (x1, y1) to (x2, y2), the last point left out: DrvLineTo with R2_COPYPEN. */
WINSIM_HOST_API int winsim_engine_draw_line(void* device, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                            uint32_t color);

/* A filled polygon through `count` points (x, y pairs): DrvFillPath, alternate fill, R2_COPYPEN. */
WINSIM_HOST_API int winsim_engine_fill_polygon(void* device, const int32_t* points, uint32_t count,
                                               uint32_t color);

/* An application's bitmap: 1 bit per pixel (bit 7 of a byte first; colors[0] and colors[1] are the colours
   of 0 and 1) or 24 (blue, green, red, as in a device-independent bitmap); rows top to bottom, `stride`
   bytes apart. */
typedef struct winsim_bitmap {
    const void* bits;
    int32_t stride;
    int32_t width;
    int32_t height;
    uint32_t bits_per_pixel;
    uint32_t colors[2];
} winsim_bitmap;

/* The bitmap into the destination rectangle: DrvCopyBits when the sizes agree, else DrvStretchBlt with
   `stretch_mode` (COLORONCOLOR, HALFTONE, ...). */
WINSIM_HOST_API int winsim_engine_draw_bitmap(void* device, const winsim_bitmap* bitmap, int32_t left,
                                              int32_t top, int32_t right, int32_t bottom,
                                              uint32_t stretch_mode);

/* Text in the font of `font_file` (a TrueType or OpenType file, face 0), `pixel_height` pixels to the em,
   its baseline starting at (x, y): the glyphs are rendered with FreeType into 1-bit glyph bitmaps and handed
   to DrvTextOut in a STROBJ and FONTOBJ (after DrvGetGlyphMode, when the driver hooks it), foreground
   `color`, transparent background. `text` is UTF-8. */
WINSIM_HOST_API int winsim_engine_draw_text(void* device, const char* font_file, int32_t pixel_height,
                                            int32_t x, int32_t y, const char* text, uint32_t color);

/* The user interface side (winsim_ui_*): a headless window system. Dialogs are built from the dialog
   templates of the module's compiled resource file and hold what each control shows; the host plays the
   user: it types into fields and leaves them, clicks, chooses list entries, answers message boxes, choosers,
   modal dialogs and property sheets, and reads back what every control shows. One thread owns the user
   interface. `dialog` and `window` are HWNDs; `id` is a control id of the dialog. */

/* "compstui.dll", the stand-in common property sheet library, can be loaded unless absent is nonzero; then
   LoadLibraryW(TEXT("compstui.dll")) fails with ERROR_MOD_NOT_FOUND, as on a machine without it.
   winsim_reset makes it present again. */
WINSIM_HOST_API void winsim_ui_set_compstui_absent(int absent);

/* How many loads of "compstui.dll" are not yet matched by FreeLibrary (0 when every load was freed). */
WINSIM_HOST_API int winsim_ui_compstui_loads(void);

/* The activation context that was active when "compstui.dll" was last loaded (NULL: none was). A context is
   made with CreateActCtxW from a module's manifest resource. */
WINSIM_HOST_API void* winsim_ui_compstui_context(void);

/* Ties a compiled resource file (windres -O res) to a module: FindResourceW, LoadResource, the dialog,
   bitmap, icon and string loaders then read it. `module` NULL is the process image (GetModuleHandleW(NULL)),
   which is also the module of code linked into the program. NULL `res_path` removes the module's resources. A
   module's resources stay across winsim_reset. 1 when the file was read, 0 when it could not be. */
WINSIM_HOST_API int winsim_ui_set_resources(void* module, const char* res_path);

/* The path GetModuleFileNameW(NULL) answers (UTF-8, a Windows path such as "C:\\Windows\\explorer.exe");
   NULL goes back to the program's own path. winsim_reset clears it. */
WINSIM_HOST_API void winsim_ui_set_process_image(const char* windows_path);

/* A user's part in a modal dialog or a property sheet: called with the dialog (or the sheet's frame) once it
   is up. What it leaves open is cancelled: Esc (IDCANCEL) on a dialog, Cancel on a sheet. */
typedef void (*winsim_ui_script)(void* window, void* context);

/* The script for the next modal dialog (DialogBoxParamW), in order; without one the user presses Esc. */
WINSIM_HOST_API void winsim_ui_on_modal(winsim_ui_script script, void* context);

/* Typing: the field takes the focus and its text is replaced as a user types it (cut at the field's text
   limit; a read-only or disabled field takes nothing); the dialog hears EN_SETFOCUS, EN_UPDATE and
   EN_CHANGE. 0 when the control is missing, disabled, hidden or read-only. */
WINSIM_HOST_API int winsim_ui_type(void* dialog, int id, const char* text);

/* The focus leaves whatever has it (the field hears its kill notice). */
WINSIM_HOST_API void winsim_ui_leave(void);

/* Types into the field and leaves it. */
WINSIM_HOST_API int winsim_ui_enter(void* dialog, int id, const char* text);

/* A click on a button: it takes the focus, an automatic check box or radio button changes, and the dialog
   hears BN_CLICKED. 0 when the control is missing, disabled or hidden. */
WINSIM_HOST_API int winsim_ui_click(void* dialog, int id);

/* Chooses entry `index` of a combo box: the list takes the focus, selects it and the dialog hears
   CBN_SELCHANGE. 0 when the control is missing, disabled, hidden or has no such entry. */
WINSIM_HOST_API int winsim_ui_choose(void* dialog, int id, int index);

/* What the control shows (its text, or the selected entry of a drop-down list), UTF-8; id -1 is the window's
   own text. The text's length in bytes, -1 when the control is missing. */
WINSIM_HOST_API int winsim_ui_text(void* dialog, int id, char* buf, size_t size);

/* The control's state: enabled, visible (with its parents), checked (BST_*), -1 when it is missing. */
WINSIM_HOST_API int winsim_ui_enabled(void* dialog, int id);
WINSIM_HOST_API int winsim_ui_visible(void* dialog, int id);
WINSIM_HOST_API int winsim_ui_checked(void* dialog, int id);

/* A combo box's entries: their count, the text and item data of one, the selected index (-1 none). */
WINSIM_HOST_API int winsim_ui_list_count(void* dialog, int id);
WINSIM_HOST_API int winsim_ui_list_text(void* dialog, int id, int index, char* buf, size_t size);
WINSIM_HOST_API int winsim_ui_selection(void* dialog, int id);

/* The control's window (NULL when missing), and the window that has the keyboard focus. */
WINSIM_HOST_API void* winsim_ui_item(void* dialog, int id);
WINSIM_HOST_API void* winsim_ui_focus(void);

/* Paints the window and its children as Windows does when it shows them: each control asks its parent for
   its brush (WM_CTLCOLORBTN, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT), owner-drawn controls are drawn by the
   parent (WM_DRAWITEM). winsim_ui_paint_brush is the brush the parent answered at the control's last paint.
 */
WINSIM_HOST_API void winsim_ui_paint(void* window);
WINSIM_HOST_API void* winsim_ui_paint_brush(void* dialog, int id);

/* The colour of a solid brush: 1 and the COLORREF, 0 when it is none. */
WINSIM_HOST_API int winsim_ui_brush_color(void* brush, uint32_t* color);

/* Live windows and live drawing objects (brushes, bitmaps, memory and window device contexts, icons that are
   not shared), so that a test can see a leak. */
WINSIM_HOST_API uint32_t winsim_ui_windows(void);
WINSIM_HOST_API uint32_t winsim_ui_gdi_objects(void);

/* Each BitBlt: the destination rectangle, the source origin and the source bitmap's size. */
typedef struct winsim_ui_blit_record {
    int32_t x, y, width, height;
    int32_t source_x, source_y;
    int32_t source_width, source_height;
    uint32_t rop;
    void* window; /* the window of the destination device context, NULL for a memory one */
} winsim_ui_blit_record;
WINSIM_HOST_API uint32_t winsim_ui_blit_count(void);
WINSIM_HOST_API int winsim_ui_blit(uint32_t index, winsim_ui_blit_record* out);

/* Message boxes: the answer to the next one (IDOK, IDYES, ...), in order; without one the box's default
   button answers. Every box shown is recorded with its text, caption (UTF-8) and MB_* type. */
WINSIM_HOST_API void winsim_ui_queue_answer(int answer);
WINSIM_HOST_API uint32_t winsim_ui_message_count(void);
WINSIM_HOST_API int winsim_ui_message(uint32_t index, char* text, size_t text_size, char* caption,
                                      size_t caption_size, uint32_t* type);

/* The file choosers: the next one answers `path` (UTF-8, copied into lpstrFile), or cancels for NULL; without
   an answer the user cancels. Each request is recorded: save or open, OFN_* flags, the filter as
   "name|pattern|...". */
WINSIM_HOST_API void winsim_ui_queue_file(const char* path);
WINSIM_HOST_API uint32_t winsim_ui_file_requests(void);
WINSIM_HOST_API int winsim_ui_file_request(uint32_t index, int* save, uint32_t* flags, char* filter,
                                           size_t filter_size);

/* The colour chooser: the next one accepts `color` (or cancels when accept is 0); without an answer it is
   cancelled. Each request is recorded with its initial colour, CC_* flags and custom colour list. */
WINSIM_HOST_API void winsim_ui_queue_color(int accept, uint32_t color);
WINSIM_HOST_API uint32_t winsim_ui_color_requests(void);
WINSIM_HOST_API int winsim_ui_color_request(uint32_t index, uint32_t* initial, uint32_t* flags,
                                            const void** custom_colors);

/* A key held down (GetKeyState reports it) or released. */
WINSIM_HOST_API void winsim_ui_set_key(int virtual_key, int down);

/* Broadcasts (SendMessageTimeoutW to HWND_BROADCAST), in order: the message and, for WM_DEVMODECHANGE and
   WM_SETTINGCHANGE, the text it carried (UTF-8). */
WINSIM_HOST_API uint32_t winsim_ui_broadcast_count(void);
WINSIM_HOST_API int winsim_ui_broadcast(uint32_t index, uint32_t* message, char* text, size_t text_size);

/* Property sheets (CommonPropertySheetUIW): the script for the next sheet, in order, called with the sheet's
   frame once its first page is up; without one the user cancels. */
WINSIM_HOST_API void winsim_ui_on_sheet(winsim_ui_script script, void* context);
/* The sheet's pages: how many, the window of one (NULL until first shown), the current index. */
WINSIM_HOST_API int winsim_ui_sheet_page_count(void* sheet);
WINSIM_HOST_API void* winsim_ui_sheet_page(void* sheet, int index);
WINSIM_HOST_API int winsim_ui_sheet_current(void* sheet);
/* Selects a page (the current one hears PSN_KILLACTIVE and may refuse; the new one is created when first
   shown and hears PSN_SETACTIVE); 1 when it is current. */
WINSIM_HOST_API int winsim_ui_sheet_select(void* sheet, int index);
/* Presses IDOK or IDCANCEL; 1 when the sheet closed, 0 when a page kept it open. */
WINSIM_HOST_API int winsim_ui_sheet_press(void* sheet, int button);
/* Whether a page said PSM_CHANGED; the header's PSUIHDRF_* flags and title. */
WINSIM_HOST_API int winsim_ui_sheet_changed(void* sheet);
WINSIM_HOST_API int winsim_ui_sheet_header(void* sheet, uint32_t* flags, char* title, size_t title_size);
/* Live property sheet pages (CreatePropertySheetPageW not yet destroyed). */
WINSIM_HOST_API uint32_t winsim_ui_sheet_page_objects(void);
/* The library's steps, one line each: "reason INIT -> 1", "add page 0", "page 0 created",
   "page 0 SETACTIVE", "changed", "reason SET_RESULT -> 1", "closed 1", ... */
WINSIM_HOST_API size_t winsim_ui_sheet_log_size(void);
WINSIM_HOST_API int winsim_ui_sheet_log_line(size_t index, char* buf, size_t size);

#ifdef __cplusplus
}
#endif

#endif
