/* The converter written the most direct way, as a yardstick for squares2tex:
 * fscanf for the case, an int array of column depths scanned in full for
 * every square, printf templates for the document. For well-formed cases
 * (every square fits the width, coordinates in int range) it writes the same
 * squares.tex byte for byte; it does not check its input.
 *   cc -O2 -o baseline bench/baseline.c && ./baseline CASE-FILE
 */
#include <stdio.h>
#include <stdlib.h>

/* The label scale, formed in long double (x87 extended precision on x86)
 * and rounded to double at the same steps as squares2tex, so that the
 * printed digits agree. */
static double skal(int side, int width)
{
    double extent = (double)(((150.0L / width) * side) * (long double)2.8353);
    double by_height = (double)((long double)extent / 10);
    int digits = 0;
    int rest = side;
    do {
        ++digits;
        rest /= 10;
    } while (rest != 0);
    double by_width = (double)((long double)extent / (digits * 5));
    return by_width >= by_height ? by_height * 0.5 : by_width * 0.5;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: baseline CASE-FILE\n");
        return 2;
    }
    FILE* in = fopen(argv[1], "r");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    int count, width, height;
    if (fscanf(in, "%d %d %d", &count, &width, &height) != 3) {
        fprintf(stderr, "%s: cannot read the case\n", argv[1]);
        return 1;
    }
    int* depth = calloc((size_t)width, sizeof *depth);
    FILE* out = fopen("squares.tex", "w");
    if (!depth || !out) {
        perror("squares.tex");
        return 1;
    }

    fprintf(out,
            "\\documentclass[a4paper]{article}\n"
            "  \\usepackage[left=2cm,right=2cm,top=2cm,bottom=2cm]{geometry}\n"
            "  \\usepackage{pstricks-add}\n"
            "\\begin{document}\n"
            "  \\thispagestyle{empty}\n");
    fprintf(out, "  \\psset{unit=%fmm}\n", (double)(150.0L / width));
    fprintf(out, "  \\begin{pspicture}(0,0)(%d,%d)\n\n", width, height);

    for (int i = 0; i < count; ++i) {
        int side;
        if (fscanf(in, "%d", &side) != 1) {
            fprintf(stderr, "%s: side %d is missing\n", argv[1], i + 1);
            return 1;
        }
        int column = 0;
        for (int c = 1; c < width; ++c) {
            if (depth[c] < depth[column]) column = c;
        }
        int top = height - depth[column];
        int right = column + side;
        int bottom = top - side;
        for (int c = column; c < right; ++c) depth[c] += side;

        fprintf(out, "    \\rput(%f,%f){\\psscalebox{%f}{%d}}\n", column + side * 0.5,
                top - side * 0.5, skal(side, width), side);
        fprintf(out, "    \\psline[linewidth=0.1pt](%d,%d)(%d,%d)\n", column, top, column, bottom);
        fprintf(out, "    \\psline[linewidth=0.1pt](%d,%d)(%d,%d)\n", column, bottom, right,
                bottom);
        fprintf(out, "    \\psline[linewidth=0.1pt](%d,%d)(%d,%d)\n", right, bottom, right, top);
        fprintf(out, "    \\psline[linewidth=0.1pt](%d,%d)(%d,%d)\n\n", right, top, column, top);
    }

    fprintf(out,
            "  \\end{pspicture}\n"
            "\\end{document}\n");
    if (fclose(out) != 0) {
        perror("squares.tex");
        return 1;
    }
    printf("\n - - - - - Created squares.tex successfully. - - - - - -\n");
    return 0;
}
