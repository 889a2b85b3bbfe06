# Shell functions for the scripts that run the program against the local stand-in; sourced.

# standin_port OUT_FILE PID: waits up to 30 s for the stand-in's "listening on" line in OUT_FILE
# and prints its port; prints nothing when the stand-in ended or did not start in time.
standin_port() {
    local out=$1 pid=$2 port=""
    for _ in $(seq 1 300); do
        port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$out" 2>/dev/null)
        [ -n "$port" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "$port"
}

# standin_settings API_KEY SECRET_KEY BASE_URL: the settings file's lines (code page 936, as
# the program writes them) that give it the stand-in's keys and address for every service.
standin_settings() {
    iconv -f UTF-8 -t GBK <<INI
[OCR]
识别ApiKey=$1
识别SecretKey=$2
[Service]
OcrBaseUrl=$3
TranslateBaseUrl=$3
YoudaoBaseUrl=$3
SpeechBaseUrl=$3
INI
}

# standin_token BASE_URL API_KEY SECRET_KEY: a token from the stand-in's token endpoint (empty
# when it gives none).
standin_token() {
    curl -s -m 10 -d "grant_type=client_credentials&client_id=$2&client_secret=$3" "$1/oauth/2.0/token" |
        sed -n 's/.*"access_token":"\([^"]*\)".*/\1/p'
}

# image_body FILE: a recognition request's body as the program sends it: Base64 with "+", "/"
# and "=" percent-encoded.
image_body() { printf 'image='; base64 -w0 "$1" | sed 's/+/%2B/g; s/\//%2F/g; s/=/%3D/g'; }
