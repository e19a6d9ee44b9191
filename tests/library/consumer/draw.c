/* Draws a Code 128 B symbol through the C interface into the file named on the command line. */
#include <ribbonkit/ribbonkit.h>
#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    ribbonkit_drawing d;
    ribbonkit_drawing_init(&d);
    d.type = 6; /* bcCode128B */
    d.data = "Ribbon-42";
    d.modul = 2;
    if (ribbonkit_render_file(&d, "") == RIBBONKIT_OK) return 3;
    printf("%s\n", ribbonkit_last_error());
    if (ribbonkit_render_file(&d, argv[1]) != RIBBONKIT_OK) {
        fprintf(stderr, "%s\n", ribbonkit_last_error());
        return 1;
    }
    printf("%s\n", ribbonkit_symbology_name(d.type));
    return 0;
}
