#include "python/src/step_text.h"

#include <stdexcept>

#include "scenario/language/scenario_parser.h"

CScenarioStep parse_step_line(const std::string& line)
{
    if (line.find_first_of("\r\n") != std::string::npos)
        throw std::invalid_argument("a step is one line");
    CScenarioParser parser;
    if (!parser.Parse(line))
        throw std::invalid_argument(parser.ErrorReason());
    if (parser.Steps().size() != 1)
        throw std::invalid_argument("empty step");
    return parser.Steps().front();
}

// A quote cannot stand inside a quoted word; the parser then names the
// character it did not expect or the name it does not know.
std::string step_word(const std::string& name)
{
    if (name.find('"') != std::string::npos)
        return name;
    return "\"" + name + "\"";
}
