#include "json/JsonScript.h"

namespace tovrik::json {

namespace {

// ES3 only: no Array.isArray, Object.keys, getters or trailing commas. Members added to
// built-in prototypes are made non-enumerable where the engine allows it, so that for-in
// loops over documents do not meet them.
constexpr TextView kStringifyScript = R"js(
var JSON;
if (typeof JSON !== 'object' || JSON === null) {
    JSON = {};
}
(function () {
    'use strict';
    var toString = Object.prototype.toString;
    var hasOwn = Object.prototype.hasOwnProperty;
    var escapable = /[\\"\u0000-\u001f\u007f-\u009f\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/g;

    function define(object, name, value, enumerable) {
        try {
            Object.defineProperty(object, name, {value: value, writable: true, configurable: true,
                                                 enumerable: enumerable === true});
        } catch (e) {
            object[name] = value;
        }
    }

    function isArray(value) {
        return toString.call(value) === '[object Array]';
    }

    function pad(number, width) {
        var text = String(number);
        while (text.length < width) {
            text = '0' + text;
        }
        return text;
    }

    function primitiveValue() {
        return this.valueOf();
    }

    if (typeof Date.prototype.toJSON !== 'function') {
        define(Date.prototype, 'toJSON', function () {
            if (!isFinite(this.valueOf())) {
                return null;
            }
            return pad(this.getUTCFullYear(), 4) + '-' + pad(this.getUTCMonth() + 1, 2) + '-' +
                pad(this.getUTCDate(), 2) + 'T' + pad(this.getUTCHours(), 2) + ':' + pad(this.getUTCMinutes(), 2) +
                ':' + pad(this.getUTCSeconds(), 2) + '.' + pad(this.getUTCMilliseconds(), 3) + 'Z';
        });
        define(Boolean.prototype, 'toJSON', primitiveValue);
        define(Number.prototype, 'toJSON', primitiveValue);
        define(String.prototype, 'toJSON', primitiveValue);
    }

    function escapeCharacter(character) {
        switch (character) {
        case '"': return '\\"';
        case '\\': return '\\\\';
        case '\b': return '\\b';
        case '\f': return '\\f';
        case '\n': return '\\n';
        case '\r': return '\\r';
        case '\t': return '\\t';
        }
        return '\\u' + pad(character.charCodeAt(0).toString(16), 4);
    }

    function quote(text) {
        escapable.lastIndex = 0;
        if (!escapable.test(text)) {
            return '"' + text + '"';
        }
        escapable.lastIndex = 0;
        return '"' + text.replace(escapable, escapeCharacter) + '"';
    }

    function ownNames(object) {
        var names = [], name;
        for (name in object) {
            if (hasOwn.call(object, name)) {
                names.push(name);
            }
        }
        return names;
    }

    if (typeof JSON.stringify !== 'function') {
        JSON.stringify = function (value, replacer, space) {
            var gap = '', indent = '', stack = [], replacerFunction, propertyList, seen, item, i;

            if (typeof replacer === 'function') {
                replacerFunction = replacer;
            } else if (isArray(replacer)) {
                propertyList = [];
                seen = {};
                for (i = 0; i < replacer.length; i++) {
                    item = replacer[i];
                    if (typeof item === 'number' || toString.call(item) === '[object Number]' ||
                        toString.call(item) === '[object String]') {
                        item = String(item);
                    }
                    if (typeof item === 'string' && !hasOwn.call(seen, item)) {
                        seen[item] = true;
                        propertyList.push(item);
                    }
                }
            }
            if (toString.call(space) === '[object Number]') {
                for (i = 0; i < Math.min(10, Number(space)); i++) {
                    gap += ' ';
                }
            } else if (toString.call(space) === '[object String]') {
                gap = String(space).slice(0, 10);
            }

            function serialize(key, holder) {
                var value = holder[key], kind, partial, names, stepback, text, j;
                if (value !== null && typeof value === 'object' && typeof value.toJSON === 'function') {
                    value = value.toJSON(key);
                }
                if (replacerFunction) {
                    value = replacerFunction.call(holder, key, value);
                }
                kind = toString.call(value);
                if (value !== null && typeof value === 'object') {
                    if (kind === '[object Number]') {
                        value = Number(value);
                    } else if (kind === '[object String]') {
                        value = String(value);
                    } else if (kind === '[object Boolean]') {
                        value = value.valueOf();
                    }
                }
                if (value === null) {
                    return 'null';
                }
                switch (typeof value) {
                case 'string':
                    return quote(value);
                case 'number':
                    return isFinite(value) ? String(value) : 'null';
                case 'boolean':
                    return String(value);
                case 'object':
                    break;
                default:
                    return undefined;
                }
                // The nesting limit of built-in implementations; it also keeps the linear
                // cycle check below from growing without end.
                if (stack.length >= 1000) {
                    throw new RangeError('JSON.stringify: nesting too deep');
                }
                for (j = 0; j < stack.length; j++) {
                    if (stack[j] === value) {
                        throw new TypeError('JSON.stringify: cyclic structure');
                    }
                }
                stack.push(value);
                stepback = indent;
                indent += gap;
                partial = [];
                if (kind === '[object Array]') {
                    for (j = 0; j < value.length; j++) {
                        text = serialize(String(j), value);
                        partial.push(text === undefined ? 'null' : text);
                    }
                    text = partial.length === 0 ? '[]' : gap ?
                        '[\n' + indent + partial.join(',\n' + indent) + '\n' + stepback + ']' :
                        '[' + partial.join(',') + ']';
                } else {
                    names = propertyList || ownNames(value);
                    for (j = 0; j < names.length; j++) {
                        text = serialize(names[j], value);
                        if (text !== undefined) {
                            partial.push(quote(names[j]) + (gap ? ': ' : ':') + text);
                        }
                    }
                    text = partial.length === 0 ? '{}' : gap ?
                        '{\n' + indent + partial.join(',\n' + indent) + '\n' + stepback + '}' :
                        '{' + partial.join(',') + '}';
                }
                stack.pop();
                indent = stepback;
                return text;
            }

            return serialize('', {'': value});
        };
    }
}());
)js";

} // namespace

TextView JsonStringifyScript() {
    return kStringifyScript;
}

TextView JsonScript() {
    static const Text script = Text(JsonStringifyScript()) + Text(JsonParseScript());
    return script;
}

} // namespace tovrik::json
