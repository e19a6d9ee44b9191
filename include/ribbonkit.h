/**
 * @file ribbonkit.h
 * @brief The plain C interface of libribbonkit: encode, measure and draw one-dimensional
 * barcodes from C, Python (ctypes), Go (cgo) or any language that can call C.
 *
 * Every function returns a ribbonkit_status (or a value documented otherwise); on failure
 * ribbonkit_last_error() gives the message for the calling thread. No C++ exception ever
 * leaves these functions. All functions may be called from several threads at once.
 *
 * Data strings are 8-bit, NUL-terminated; bytes above 127 are taken by value.
 */
#ifndef RIBBONKIT_H
#define RIBBONKIT_H

#include <stddef.h>
#include <stdint.h>

#define RIBBONKIT_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/** Outcome of a call. */
typedef enum ribbonkit_status {
    RIBBONKIT_OK = 0,       /**< Success. */
    RIBBONKIT_REJECTED = 1, /**< The engine refused the data or settings (message says why). */
    RIBBONKIT_INVALID_ARGUMENT = 2, /**< A null pointer, unknown enumeration value or bad size. */
    RIBBONKIT_BUFFER_TOO_SMALL =
        3,                     /**< An output buffer is too small; the needed size is returned. */
    RIBBONKIT_FILE_ERROR = 4,  /**< A file could not be written. */
    RIBBONKIT_NOT_STARTED = 5, /**< Called after Finalize released the library. */
    RIBBONKIT_INTERNAL = 6     /**< Anything else (out of memory, ...). */
} ribbonkit_status;

/** The message of the last failed call on this thread ("" after a success). */
RIBBONKIT_API const char* ribbonkit_last_error(void);

/** Number of symbologies (23); valid types are 0 .. count-1 in TBarType order. */
RIBBONKIT_API int ribbonkit_symbology_count(void);
/** Display name of a symbology ("Code39", ...), or NULL for an unknown type. */
RIBBONKIT_API const char* ribbonkit_symbology_name(int type);
/** 1 if the symbology takes digits only, 0 if not, -1 for an unknown type. */
RIBBONKIT_API int ribbonkit_symbology_numeric_only(int type);

/**
 * Encodes data: the pattern string (one character per element, "0".."3" spaces, "5".."8"
 * bars, "A".."D" short bars), the display text and the four element widths in pixels.
 * pattern and text receive NUL-terminated strings; their needed sizes (NUL included) are
 * stored in *pattern_size and *text_size, also when RIBBONKIT_BUFFER_TOO_SMALL is returned.
 * text, text_size and widths may be NULL.
 */
RIBBONKIT_API ribbonkit_status ribbonkit_encode(int type, const char* data, int modul, double ratio,
                                                int checksum, char* pattern, size_t* pattern_size,
                                                char* text, size_t* text_size, int widths[4]);

/** Symbol length and the extents of the box around the symbol turned by angle degrees. */
RIBBONKIT_API ribbonkit_status ribbonkit_measure(int type, const char* data, int modul,
                                                 double ratio, int checksum, int height,
                                                 double angle, int* bar_width, int* canvas_width,
                                                 int* canvas_height);

/** Which human-readable text to draw (TTextShow). */
enum { RIBBONKIT_TEXT_NONE, RIBBONKIT_TEXT_BARCODE, RIBBONKIT_TEXT_BARTYPE, RIBBONKIT_TEXT_BOTH };
/** Where the text sits (TTextPosition). */
enum {
    RIBBONKIT_TOP_LEFT,
    RIBBONKIT_TOP_RIGHT,
    RIBBONKIT_TOP_CENTER,
    RIBBONKIT_BOTTOM_LEFT,
    RIBBONKIT_BOTTOM_RIGHT,
    RIBBONKIT_BOTTOM_CENTER
};

/** Everything one drawing needs. Fill it with ribbonkit_drawing_init, then change fields. */
typedef struct ribbonkit_drawing {
    int type;              /**< Symbology (TBarType ordinal). */
    const char* data;      /**< The data to encode. */
    int modul;             /**< Narrow element width in pixels (default 1). */
    double ratio;          /**< Wide-to-narrow ratio (default 2). */
    int checksum;          /**< 1 adds the modulo-10 check digit (default 0). */
    int left, top;         /**< Symbol box position; -1 = a quiet zone of 10 modules (default). */
    int height;            /**< Bar height in pixels (default 50). */
    double angle;          /**< Degrees counter-clockwise (default 0). */
    int text_show;         /**< RIBBONKIT_TEXT_* (default none). */
    int text_position;     /**< RIBBONKIT_TOP_* / RIBBONKIT_BOTTOM_* (default bottom centre). */
    const char* font_face; /**< Font family ("DejaVu Sans" when NULL). */
    int font_size;         /**< Points (default 10). */
    uint32_t color_bar;    /**< Colours are 0x00BBGGRR: red in the low byte. Default black. */
    uint32_t color_space;  /**< Default white. */
    uint32_t text_color;   /**< Text background colour, as the engine's TextColor. Default white. */
    uint32_t font_color;   /**< Default black. */
    uint32_t background;   /**< Picture background for file rendering. Default white. */
} ribbonkit_drawing;

/** Sets every field of *drawing to its default (data NULL, type 0). */
RIBBONKIT_API void ribbonkit_drawing_init(ribbonkit_drawing* drawing);

/**
 * Size in pixels of the picture that ribbonkit_render_file writes for this drawing: the turned
 * symbol plus its position (or quiet zone) on both sides.
 */
RIBBONKIT_API ribbonkit_status ribbonkit_picture_size(const ribbonkit_drawing* drawing, int* width,
                                                      int* height);

/**
 * Draws onto the caller's picture: rows top to bottom, 3 bytes a pixel (red, green, blue),
 * stride bytes from one row to the next. Pixels outside the symbol are left as they are;
 * left/top of -1 mean the quiet-zone position.
 */
RIBBONKIT_API ribbonkit_status ribbonkit_render_rgb(const ribbonkit_drawing* drawing, uint8_t* rgb,
                                                    int width, int height, int stride);

/**
 * Writes the drawing into a picture file chosen by the extension of path (.png, .jpg, .bmp,
 * .svg, .pdf), as large as ribbonkit_picture_size says. Nothing is left behind on failure.
 */
RIBBONKIT_API ribbonkit_status ribbonkit_render_file(const ribbonkit_drawing* drawing,
                                                     const char* path);

/** One unit of the library and its start state. */
typedef struct ribbonkit_unit_info {
    const char* name;             /**< "ZBarCode", "pBarCode", "pDBBarcode". */
    void (*initialization)(void); /**< Lowers the start count; starts the unit at the first. */
    void (*finalization)(void);   /**< Raises it; cleans the unit up when it is back at 0. */
    int start_count;              /**< 0 when stopped, below 0 while started. */
    int start_ups;                /**< Start-ups run since the library was loaded. */
    int clean_ups;                /**< Clean-ups run since the library was loaded. */
    int started_at;               /**< Sequence number of the last start-up (0 = never). */
    int cleaned_at;               /**< Sequence number of the last clean-up (0 = never). */
} ribbonkit_unit_info;

/** The package's unit table, in start order. */
typedef struct ribbonkit_package_info {
    int unit_count;
    const ribbonkit_unit_info* units;
} ribbonkit_package_info;

/**
 * Starts the units in table order. Loading the library already does it once; every call must
 * be matched by one Finalize.
 */
RIBBONKIT_API void Initialize(void);
/** Stops the units in reverse order; the last one releases the library's tables. */
RIBBONKIT_API void Finalize(void);
/** Initialize under the package's name: the same routine. */
RIBBONKIT_API void PackageLoad(void);
/** Finalize under the package's name: the same routine. */
RIBBONKIT_API void PackageUnload(void);
/** The unit table with the units' current start state. */
RIBBONKIT_API const ribbonkit_package_info* GetPackageInfoTable(void);

#ifdef __cplusplus
}
#endif

#endif /* RIBBONKIT_H */
