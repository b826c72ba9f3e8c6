#include "trace/divergence_rule.h"

#include <unordered_map>

std::vector<CMatchName> match_names(const std::vector<std::pair<std::string, std::string>>& variables)
{
    std::unordered_map<std::string, int> count;
    for (const auto& [scope, name] : variables)
        count[name]++;
    std::vector<CMatchName> names;
    names.reserve(variables.size());
    for (const auto& [scope, name] : variables) {
        std::string full = scope.empty() ? name : scope + "." + name;
        names.push_back({count[name] > 1 ? full : name, std::move(full)});
    }
    return names;
}
