#include "read_catalogue.h"

#include "read_case.h"

catalogue_reader::catalogue_reader(std::FILE* stream)
    : reader_(stream, value_span::line, "the catalogue")
{
}

bool catalogue_reader::next(square_case& c, catalogue_position& where)
{
    for (;;) {
        const int first = reader_.skip_blanks();
        if (first == EOF) return false;
        if (first != '\n' && first != '#') break;
        reader_.skip_line();
    }
    where = {++number_, reader_.line()};
    try {
        read_case_values(reader_, c);
    } catch (const conversion_error&) {
        reader_.skip_line();
        throw;
    }
    reader_.skip_line();
    return true;
}
