#!/usr/bin/env bash
# Makes a sample disc folder: the player (by tools/make-disc.sh, with its libraries) and two recorded
# meetings with their notes documents, made from Debian packages only (espeak-ng speaks the meetings,
# ffmpeg encodes them).
#
#   tools/make-sample-disc.sh DEST [QUILLON]
#
# QUILLON is the built executable, by default build/catalogue/quillon of this checkout.
# The disc holds:
#   Room3_12-14-2009_34200_1.wma   2 channels, WMA (wmav2) in ASF
#   Room3_12-14-2009_34200_2.wma   4 channels, AC-3 in ASF (ffmpeg's WMA encoder stops at 2 channels)
#   Room3_12-14-2009_34200_3.wmv   WMV (wmv2) video with the recorded time of day burnt in, and sound
#   Room3_12-14-2009_34200.xml     notes shared by the three files
#   Hall2_03-02-2010_50400_1.wma   an audio-only meeting in the afternoon
#   Hall2_03-02-2010_50400_1.xml   its notes, named after the one file
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if (($# < 1 || $# > 2)); then
    echo "usage: $0 DEST [QUILLON]" >&2
    exit 2
fi
dest=$1
exe=${2:-$root/build/catalogue/quillon}
font=/usr/share/fonts/truetype/liberation/LiberationMono-Bold.ttf
gap=0.8        # seconds of silence after each speaker
min_length=62  # every recording lasts at least this long

for tool in espeak-ng ffmpeg ffprobe; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is missing; run tools/setup.sh" >&2; exit 1; }
done
[[ -f $font ]] || { echo "$0: $font is missing; run tools/setup.sh" >&2; exit 1; }
[[ -x $exe ]] || { echo "$0: no executable at $exe; build first (see README.md)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$dest"

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }

hms24() { printf '%02d:%02d:%02d' $(($1 / 3600 % 24)) $(($1 / 60 % 60)) $(($1 % 60)); }
hms12() {
    local h=$(($1 / 3600 % 24)) suffix=AM
    ((h >= 12)) && suffix=PM
    h=$((h % 12)); ((h == 0)) && h=12
    printf '%d:%02d:%02d %s' "$h" $(($1 / 60 % 60)) $(($1 % 60)) "$suffix"
}
xml_text() {
    local s=${1//&/&amp;}
    s=${s//</&lt;}
    printf '%s' "${s//>/&gt;}"
}

# speak NAME LINE...: each LINE is "speaker|espeak voice|text". Writes NAME.wav (the meeting as one
# mono track, padded to at least min_length) and NAME.cues (start, end and speaker of each line).
speak() {
    local name=$1; shift
    local i=0 at=0 line speaker voice text length
    ff -f lavfi -i "anullsrc=r=22050:cl=mono" -t "$gap" -c:a pcm_s16le "$work/$name-gap.wav"
    : >"$work/$name.list"
    : >"$work/$name.cues"
    for line in "$@"; do
        IFS='|' read -r speaker voice text <<<"$line"
        espeak-ng -v "$voice" -s 160 -w "$work/$name-$i.wav" "$text"
        length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/$name-$i.wav")
        printf '%s\t%s\t%s\n' "$at" "$(awk -v a="$at" -v l="$length" 'BEGIN{print a+l}')" "$speaker" \
            >>"$work/$name.cues"
        printf "file '%s'\nfile '%s'\n" "$work/$name-$i.wav" "$work/$name-gap.wav" >>"$work/$name.list"
        at=$(awk -v a="$at" -v l="$length" -v g="$gap" 'BEGIN{print a+l+g}')
        i=$((i + 1))
    done
    ff -f concat -safe 0 -i "$work/$name.list" -af "apad=whole_dur=$min_length" -c:a pcm_s16le \
        "$work/$name.wav"
}

length_of() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1" | awk '{print int($1 + 0.999)}'; }

# notes FILE START LENGTH NAME ITEM...: the notes document, one note per cue; ITEM is "name=value".
# Times alternate between the 24-hour and the 12-hour form, as recorders write both.
notes() {
    local file=$1 start=$2 length=$3 name=$4; shift 4
    local item n=0 cue_start cue_end speaker text time
    {
        echo "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        echo "<session>"
        echo "  <header>"
        echo "    <items>"
        for item in "$@"; do
            printf "      <item name='%s' value='%s'/>\n" "$(xml_text "${item%%=*}")" "$(xml_text "${item#*=}")"
        done
        echo "    </items>"
        echo "  </header>"
        printf '  <duration>%d:%02d:%02d</duration>\n' $((length / 3600)) $((length / 60 % 60)) $((length % 60))
        printf '  <started>%s</started>\n' "$(hms12 "$start")"
        printf '  <finished>%s</finished>\n' "$(hms12 $((start + length)))"
        echo "  <notes>"
        while IFS=$'\t' read -r cue_start cue_end speaker; do
            text=$(sed -n "$((n + 1))p" "$work/$name.summary")
            time=$((start + ${cue_start%.*} + 1))
            if ((n % 3 == 2)); then time=$(hms12 "$time"); else time=$(hms24 "$time"); fi
            echo "    <note>"
            echo "      <time>$time</time>"
            echo "      <speaker>$(xml_text "$speaker")</speaker>"
            echo "      <text>$(xml_text "$text")</text>"
            echo "    </note>"
            n=$((n + 1))
        done <"$work/$name.cues"
        echo "  </notes>"
        echo "</session>"
    } >"$file"
}

# --- Room3, 14 December 2009, 09:30:00 AM: a committee meeting with audio, 4-channel audio and video.
room3=(
    "Chair|en-gb+m3|Good morning everyone. I call this meeting of the works committee to order. We have four items today."
    "Clerk|en-us+f3|Apologies have been received from Councillor Hart. The minutes of the last meeting were circulated on Friday."
    "Chair|en-gb+m3|Thank you. Are the minutes agreed as a true record? I see no objection, so they are agreed."
    "Engineer|en-gb-scotland|Item one is the bridge on Mill Lane. The survey found cracks in two of the supports, and we propose to close it to lorries."
    "Member|en-us+m4|How long would the closure last, and where would the lorries go instead?"
    "Engineer|en-gb-scotland|About six weeks. The diversion runs along the ring road, which adds roughly two miles."
    "Chair|en-gb+m3|Let us move to item two, the budget for winter gritting."
    "Treasurer|en-us+f4|We spent ninety thousand last winter. I recommend we set aside one hundred thousand this year."
    "Member|en-us+m4|I support that, given how cold the forecast looks."
    "Clerk|en-us+f3|For the record, the vote on the gritting budget is unanimous."
    "Chair|en-gb+m3|Item three, the new cycle path, is deferred to January at the request of the planners."
    "Chair|en-gb+m3|That concludes our business. The next meeting is on the eleventh of January. Thank you all."
)
room3_summary="Meeting opened, four items
Apologies from Cllr Hart; minutes circulated
Minutes agreed
Item 1: Mill Lane bridge, closure to lorries proposed
Question on length of closure and diversion
Six weeks; diversion via ring road
Item 2: winter gritting budget
Recommendation: 100,000 for gritting
Support for the recommendation
Gritting budget carried unanimously
Item 3 deferred to January
Meeting closed; next meeting 11 January"

# --- Hall2, 2 March 2010, 02:00:00 PM: a planning interview, audio only.
hall2=(
    "Interviewer|en-us+f2|Good afternoon. This is the planning interview for the library extension, recorded in hall two."
    "Architect|en-gb+m5|Thank you for having me. The extension adds a reading room and a children's corner on the east side."
    "Interviewer|en-us+f2|Residents have raised concerns about parking. How does the design deal with that?"
    "Architect|en-gb+m5|We keep all forty existing spaces and add twelve cycle stands by the main entrance."
    "Neighbour|en-gb-x-rp|I live opposite the site. My worry is the noise from building work early in the morning."
    "Architect|en-gb+m5|Work would start at eight and finish by six, with no work at weekends."
    "Interviewer|en-us+f2|What about the old oak tree at the corner of the plot?"
    "Architect|en-gb+m5|The tree stays. The foundations were moved three metres to protect its roots."
    "Neighbour|en-gb-x-rp|That is good to hear. I would still like a contact number for complaints."
    "Interviewer|en-us+f2|The council will publish one before work begins."
    "Architect|en-gb+m5|We expect the extension to open in the spring of next year."
    "Interviewer|en-us+f2|Thank you both. That ends the interview."
)
hall2_summary="Interview opened: library extension
Design: reading room and children's corner
Concern about parking raised
Forty spaces kept, twelve cycle stands added
Neighbour: noise early in the morning
Working hours eight to six, weekdays only
Question about the oak tree
Tree kept; foundations moved three metres
Request for a complaints contact
Council to publish a contact number
Opening expected next spring
Interview closed"

printf '%s\n' "$room3_summary" >"$work/room3.summary"
printf '%s\n' "$hall2_summary" >"$work/hall2.summary"

speak room3 "${room3[@]}" &
speak_room3=$!
speak hall2 "${hall2[@]}"
wait "$speak_room3"

# Room3: start 34200 s (09:30:00 AM).
base="$dest/Room3_12-14-2009_34200"
length=$(length_of "$work/room3.wav")
ff -i "$work/room3.wav" -ac 2 -ar 22050 -c:a wmav2 -b:a 64k -f asf "${base}_1.wma" &
audio1=$!
ff -i "$work/room3.wav" -ac 4 -ar 44100 -c:a ac3 -b:a 128k -f asf "${base}_2.wma" &
audio2=$!

# The video: the recorded time of day (start + pts), the room and date, and who is speaking.
printf '%s' '%{pts:gmtime:34200:%H\:%M\:%S}' >"$work/clock.txt"
printf '%s' 'Room3  12-14-2009' >"$work/title.txt"
filter="drawtext=fontfile=$font:textfile=$work/title.txt:fontsize=16:fontcolor=white:x=12:y=12"
filter+=",drawtext=fontfile=$font:textfile=$work/clock.txt:fontsize=44:fontcolor=yellow:x=(w-tw)/2:y=84"
filter+=",drawbox=x=0:y=200:w=iw:h=40:color=black@0.6:t=fill"
n=0
while IFS=$'\t' read -r cue_start cue_end speaker; do
    printf '%s' "$speaker" >"$work/speaker-$n.txt"
    filter+=",drawtext=fontfile=$font:textfile=$work/speaker-$n.txt:fontsize=20:fontcolor=white"
    filter+=":x=(w-tw)/2:y=210:enable='between(t,$cue_start,$cue_end)'"
    n=$((n + 1))
done <"$work/room3.cues"
ff -f lavfi -i "color=c=0x1c2a38:s=320x240:r=15:d=$length" -i "$work/room3.wav" -vf "$filter" \
    -c:v wmv2 -b:v 500k -c:a wmav2 -b:a 64k -ac 2 -shortest -f asf "${base}_3.wmv"
notes "$base.xml" 34200 "$length" room3 "Meeting=Works Committee" "Room=Room 3, Town Hall" \
    "Recorder=Unit 7" "Clerk=J. Ellis"

# Hall2: start 50400 s (02:00:00 PM), one audio file with its own notes document.
base="$dest/Hall2_03-02-2010_50400_1"
length=$(length_of "$work/hall2.wav")
ff -i "$work/hall2.wav" -ac 2 -ar 22050 -c:a wmav2 -b:a 64k -f asf "$base.wma"
notes "$base.xml" 50400 "$length" hall2 "Meeting=Planning interview" "Room=Hall 2, Central Library" \
    "Recorder=Unit 3"
wait "$audio1"
wait "$audio2"

# The player with every library it needs, as on any disc.
"$root/tools/make-disc.sh" --quillon "$exe" "$dest"
ls -l "$dest"
