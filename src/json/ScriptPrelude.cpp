#include "json/ScriptPrelude.h"

#include "json/JsonScript.h"

namespace tovrik::json {

namespace {

// Types are told apart with Object.prototype.toString, which also works across script
// contexts and for wrapper objects.
constexpr TextView kHelpers = R"js(
function get__nodeValue(str_json, recursion) {
    var name, item, kind;
    for (name in str_json) {
        item = str_json[name];
        kind = Object.prototype.toString.call(item);
        if (kind == '[object Object]' || kind == '[object Array]') {
            if (recursion) {
                get__nodeValue(item, recursion);
            }
        } else if (kind == '[object String]' || kind == '[object Number]' || kind == '[object Boolean]') {
            str_all.push(item);
        }
    }
    return str_all;
}

function get__count(c) {
    return Object.prototype.toString.call(c) == '[object Array]' ? c.length : 0;
}

function get__name_All(a) {
    var names = [], name;
    if (Object.prototype.toString.call(a) != '[object Object]') {
        return '';
    }
    for (name in a) {
        if (typeof a[name] != 'function') {
            names.push(name);
        }
    }
    return names.join('\r\n');
}

function get__extend(target, source) {
    var name, kind, item, i;
    if (typeof source != 'object' || source === null) {
        return target;
    }
    if (Object.prototype.toString.call(target) == '[object Array]') {
        if (Object.prototype.toString.call(source) == '[object Array]') {
            for (i = 0; i < source.length; i++) {
                target.push(source[i]);
            }
        }
        return target;
    }
    for (name in source) {
        if (Object.prototype.hasOwnProperty.call(source, name)) {
            item = source[name];
            kind = Object.prototype.toString.call(target[name]);
            if ((kind == '[object Object]' || kind == '[object Array]') && typeof item == 'object' && item !== null) {
                target[name] = get__extend(target[name], item);
            } else {
                target[name] = item;
            }
        }
    }
    return target;
}
)js";

} // namespace

TextView ScriptPrelude() {
    static const Text prelude = Text(kHelpers) + Text(JsonScript());
    return prelude;
}

} // namespace tovrik::json
