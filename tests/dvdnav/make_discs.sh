#!/usr/bin/env bash
# Authors the small DVD-Video folders the dvdnav tests play and read: MPEG-2 from ffmpeg's test
# sources, subtitles from spumux, the discs from dvdauthor. Run once per build.
#   twelve/  one PAL title of 12 s with 12 chapters, one unlabelled audio stream
#   multi/   three titles in two title sets: 4 s/2 chapters (en+fr audio, de+es subtitles),
#            3 s/3 chapters (en+fr audio), 5 s/4 chapters (it audio)
#   ntsc/    one NTSC title of 3 s with 2 chapters
#   post/    title 1 (red, 2 s) whose post command jumps to title 2 (blue, 2 s), which ends the play
#   loop/    titles 1 (red) and 2 (blue) of 1 s whose post commands jump to each other
#   nowhere/ one title whose post command jumps to title 9, which does not exist
#   langs/   one title with audio streams unlabelled, "xx", "cy", "eu" and "zu", all enabled; only
#            the first two are in the VOB
set -euo pipefail
out=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$out/work
rm -rf "$out"
mkdir -p "$work"
cd "$work"

encode() { # name seconds target audio-maps
    local name=$1 seconds=$2 target=$3 size=720x576 rate=25
    shift 3
    [ "$target" = ntsc-dvd ] && size=720x480 rate=30000/1001
    ffmpeg -v error -y -f lavfi -i "testsrc=size=$size:rate=$rate" \
        -f lavfi -i sine=frequency=440:sample_rate=48000 -f lavfi -i sine=frequency=660:sample_rate=48000 \
        -t "$seconds" -map 0:v "$@" -target "$target" -b:v 1500k -g 12 -c:a ac3 -b:a 96k "$name.mpg"
}

encode twelve 12 pal-dvd -map 1:a
encode b1 4 pal-dvd -map 1:a -map 2:a
encode b2 3 pal-dvd -map 1:a -map 2:a
encode c1 5 pal-dvd -map 1:a
encode n1 3 ntsc-dvd -map 1:a

plain() { # name colour seconds audio-maps: one colour filling the picture
    local name=$1 colour=$2 seconds=$3
    shift 3
    ffmpeg -v error -y -f lavfi -i "color=c=$colour:size=720x576:rate=25" \
        -f lavfi -i sine=frequency=440:sample_rate=48000 -f lavfi -i sine=frequency=660:sample_rate=48000 \
        -t "$seconds" -map 0:v "$@" -target pal-dvd -aspect 4:3 -b:v 1500k -g 12 -c:a ac3 -b:a 96k "$name.mpg"
}
plain red2 red 2 -map 1:a
plain blue2 blue 2 -map 1:a
plain red1 red 1 -map 1:a
plain blue1 blue 1 -map 1:a
plain green2 green 2 -map 1:a -map 2:a

# One subtitle picture (a white bar) muxed as two subpicture streams into the first title.
ffmpeg -v error -y -f lavfi -i "color=c=white:s=200x40,format=rgba" -frames:v 1 \
    -vf "pad=720:576:260:500:color=black@0.0" sub.png
echo '<subpictures><stream><spu start="00:00:00.50" end="00:00:02.00" image="sub.png"/></stream></subpictures>' >sub.xml
spumux -s 0 sub.xml <b1.mpg >b1s.mpg 2>/dev/null
spumux -s 1 sub.xml <b1s.mpg >b1ss.mpg 2>/dev/null

cat >twelve.xml <<XML
<dvdauthor dest="$out/twelve"><vmgm/><titleset><titles><pgc>
<vob file="twelve.mpg" chapters="0,1,2,3,4,5,6,7,8,9,10,11"/>
</pgc></titles></titleset></dvdauthor>
XML
cat >multi.xml <<XML
<dvdauthor dest="$out/multi"><vmgm/>
<titleset><titles>
<audio lang="en"/><audio lang="fr"/><subpicture lang="de"/><subpicture lang="es"/>
<pgc><vob file="b1ss.mpg" chapters="0,2"/></pgc>
<pgc><vob file="b2.mpg" chapters="0,1,2"/></pgc>
</titles></titleset>
<titleset><titles><audio lang="it"/>
<pgc><vob file="c1.mpg" chapters="0,1,2,3"/></pgc>
</titles></titleset>
</dvdauthor>
XML
cat >ntsc.xml <<XML
<dvdauthor dest="$out/ntsc"><vmgm/><titleset><titles><pgc>
<vob file="n1.mpg" chapters="0,1.5"/>
</pgc></titles></titleset></dvdauthor>
XML

cat >post.xml <<XML
<dvdauthor dest="$out/post"><vmgm/><titleset><titles>
<pgc><vob file="red2.mpg"/><post> jump title 2; </post></pgc>
<pgc><vob file="blue2.mpg"/></pgc>
</titles></titleset></dvdauthor>
XML
cat >loop.xml <<XML
<dvdauthor dest="$out/loop"><vmgm/><titleset><titles>
<pgc><vob file="red1.mpg"/><post> jump title 2; </post></pgc>
<pgc><vob file="blue1.mpg"/><post> jump title 1; </post></pgc>
</titles></titleset></dvdauthor>
XML
cat >nowhere.xml <<XML
<dvdauthor dest="$out/nowhere"><vmgm/><titleset><titles>
<pgc><vob file="red1.mpg"/><post> jump title 1; </post></pgc>
</titles></titleset></dvdauthor>
XML
cat >langs.xml <<XML
<dvdauthor dest="$out/langs"><vmgm/><titleset><titles>
<audio format="ac3"/><audio lang="xx"/><audio lang="cy"/><audio lang="eu"/><audio lang="zu"/>
<pgc><vob file="green2.mpg"/></pgc>
</titles></titleset></dvdauthor>
XML

for disc in post loop nowhere langs; do
    VIDEO_FORMAT=PAL dvdauthor -x $disc.xml >$disc.log 2>&1
done
patch=$here/patch_ifo.py
python3 "$patch" "$out/nowhere/VIDEO_TS/VTS_01_0.IFO" post-title 1 9
python3 "$patch" "$out/langs/VIDEO_TS/VTS_01_0.IFO" enable-audio 1 2 3 4
VIDEO_FORMAT=PAL dvdauthor -x twelve.xml >twelve.log 2>&1
VIDEO_FORMAT=PAL dvdauthor -x multi.xml >multi.log 2>&1
VIDEO_FORMAT=NTSC dvdauthor -x ntsc.xml >ntsc.log 2>&1
cd "$out"
rm -rf "$work"
for disc in twelve multi ntsc; do
    lsdvd -x "$disc" >"$disc.lsdvd" 2>/dev/null
done
touch "$out/stamp"
