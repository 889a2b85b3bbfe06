#include "json/JsonScript.h"

namespace tovrik::json {

namespace {

// ES3 only, like the stringify half; this half has its own small helpers.
constexpr TextView kParseScript = R"js(
(function () {
    'use strict';
    var toString = Object.prototype.toString;
    var hasOwn = Object.prototype.hasOwnProperty;

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

    function ownNames(object) {
        var names = [], name;
        for (name in object) {
            if (hasOwn.call(object, name)) {
                names.push(name);
            }
        }
        return names;
    }

    // Containers are opened and closed on an explicit stack instead of by recursion, so deep
    // nesting costs memory, not call depth.
    function parseText(text) {
        var at = 0, frames = [], frame = null, value, ch;

        function fail(what) {
            throw new SyntaxError('JSON.parse: ' + what + ' at position ' + at);
        }
        function skipSpace() {
            var c;
            while (at < text.length) {
                c = text.charCodeAt(at);
                if (c !== 32 && c !== 9 && c !== 10 && c !== 13) {
                    break;
                }
                at += 1;
            }
        }
        function isDigit(index) {
            var c = text.charCodeAt(index);
            return c >= 48 && c <= 57;
        }
        function readString() {
            var result = '', start, c, hex;
            at += 1;
            for (;;) {
                start = at;
                c = -1;
                while (at < text.length) {
                    c = text.charCodeAt(at);
                    if (c === 34 || c === 92 || c < 32) {
                        break;
                    }
                    at += 1;
                }
                result += text.substring(start, at);
                if (at >= text.length) {
                    fail('unterminated string');
                }
                if (c === 34) {
                    at += 1;
                    return result;
                }
                if (c < 32) {
                    fail('control character in string');
                }
                at += 1;
                switch (text.charAt(at)) {
                case '"': result += '"'; break;
                case '\\': result += '\\'; break;
                case '/': result += '/'; break;
                case 'b': result += '\b'; break;
                case 'f': result += '\f'; break;
                case 'n': result += '\n'; break;
                case 'r': result += '\r'; break;
                case 't': result += '\t'; break;
                case 'u':
                    hex = text.substring(at + 1, at + 5);
                    if (!/^[0-9a-fA-F]{4}$/.test(hex)) {
                        fail('bad unicode escape');
                    }
                    result += String.fromCharCode(parseInt(hex, 16));
                    at += 4;
                    break;
                default:
                    fail('bad escape');
                }
                at += 1;
            }
        }
        function readNumber() {
            var start = at;
            if (text.charAt(at) === '-') {
                at += 1;
            }
            if (text.charAt(at) === '0') {
                at += 1;
            } else if (isDigit(at)) {
                while (isDigit(at)) {
                    at += 1;
                }
            } else {
                fail('bad number');
            }
            if (text.charAt(at) === '.') {
                at += 1;
                if (!isDigit(at)) {
                    fail('bad number');
                }
                while (isDigit(at)) {
                    at += 1;
                }
            }
            if (text.charAt(at) === 'e' || text.charAt(at) === 'E') {
                at += 1;
                if (text.charAt(at) === '+' || text.charAt(at) === '-') {
                    at += 1;
                }
                if (!isDigit(at)) {
                    fail('bad number');
                }
                while (isDigit(at)) {
                    at += 1;
                }
            }
            return Number(text.substring(start, at));
        }
        function readWord(word, result) {
            if (text.substring(at, at + word.length) !== word) {
                fail('unexpected text');
            }
            at += word.length;
            return result;
        }
        function readName() {
            skipSpace();
            if (text.charAt(at) !== '"') {
                fail('expected a member name');
            }
            frame.name = readString();
            skipSpace();
            if (text.charAt(at) !== ':') {
                fail('expected :');
            }
            at += 1;
        }
        function open(container) {
            frames.push(frame);
            frame = {container: container, isArray: isArray(container), name: null};
        }
        function close() {
            var container = frame.container;
            frame = frames.pop();
            return container;
        }
        function store(item) {
            if (frame.isArray) {
                frame.container.push(item);
            } else if (frame.name === '__proto__') {
                // An own member, as the name says, never the object's prototype.
                define(frame.container, frame.name, item, true);
            } else {
                frame.container[frame.name] = item;
            }
        }

        for (;;) {
            skipSpace();
            ch = text.charAt(at);
            if (ch === '{' || ch === '[') {
                at += 1;
                open(ch === '{' ? {} : []);
                skipSpace();
                if (text.charAt(at) !== (frame.isArray ? ']' : '}')) {
                    if (!frame.isArray) {
                        readName();
                    }
                    continue;
                }
                at += 1;
                value = close();
            } else if (ch === '"') {
                value = readString();
            } else if (ch === '-' || (ch >= '0' && ch <= '9')) {
                value = readNumber();
            } else if (ch === 't') {
                value = readWord('true', true);
            } else if (ch === 'f') {
                value = readWord('false', false);
            } else if (ch === 'n') {
                value = readWord('null', null);
            } else {
                fail(at < text.length ? 'unexpected character' : 'unexpected end of text');
            }
            for (;;) {
                if (frame === null) {
                    skipSpace();
                    if (at < text.length) {
                        fail('unexpected text after the value');
                    }
                    return value;
                }
                store(value);
                skipSpace();
                ch = text.charAt(at);
                if (ch === ',') {
                    at += 1;
                    if (!frame.isArray) {
                        readName();
                    }
                    break;
                }
                if (ch !== (frame.isArray ? ']' : '}')) {
                    fail(frame.isArray ? 'expected , or ]' : 'expected , or }');
                }
                at += 1;
                value = close();
            }
        }
    }

    function walk(holder, key, reviver) {
        var value = holder[key], names, item, i;
        if (value !== null && typeof value === 'object') {
            names = [];
            if (isArray(value)) {
                for (i = 0; i < value.length; i++) {
                    names.push(String(i));
                }
            } else {
                names = ownNames(value);
            }
            for (i = 0; i < names.length; i++) {
                item = walk(value, names[i], reviver);
                if (item === undefined) {
                    delete value[names[i]];
                } else {
                    value[names[i]] = item;
                }
            }
        }
        return reviver.call(holder, key, value);
    }

    if (typeof JSON.parse !== 'function') {
        JSON.parse = function (text, reviver) {
            var result = parseText(String(text));
            return typeof reviver === 'function' ? walk({'': result}, '', reviver) : result;
        };
    }

    if (typeof Object.prototype.toJSONString !== 'function') {
        define(Object.prototype, 'toJSONString', function (filter) {
            return JSON.stringify(this, filter);
        });
        define(Object.prototype, 'parseJSON', function (filter) {
            return JSON.parse(this, filter);
        });
    }
}());
)js";

} // namespace

TextView JsonParseScript() {
    return kParseScript;
}

} // namespace tovrik::json
