#!/usr/bin/env bash
# Writes the fuzz targets' seeds into tests/fuzz/corpus: projects and meters made by `vyk`, the
# simulated Box's answers recorded by the Box replies target, and small hand-written inputs.
# Usage: tests/fuzz/make_corpus.sh BUILD_DEV_FOLDER BUILD_FUZZ_FOLDER
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
vyk="$1/vyk"
fuzz="$2/tests/fuzz"
corpus="$here/corpus"
rm -rf "$corpus"
mkdir -p "$corpus"/{project_file,meter_file,meter_text,table_text,byte_text,limit_text,meter_grid,box_replies,settings_file,log_file}

# Projects: a new one of each group, and edited ones.
p="$corpus/project_file"
"$vyk" project new --group ford --name "Ford" "$p/ford.VYK" >/dev/null
"$vyk" project new --group gm --name "GM" --description "Frequency in and out" --units metric "$p/gm.VYK" >/dev/null
"$vyk" project new --group import --name "Import" "$p/import.VYK" >/dev/null
"$vyk" project edit "$p/ford.VYK" --entry 3=1.25 --limit 4.5 --pot 2=up --invert on >/dev/null
"$vyk" project edit "$p/gm.VYK" --entry 10=6000 --byte 4F=7E --input voltage >/dev/null
# A header of 20 records: the image follows it at byte 320.
head -c 320 "$p/ford.VYK" > "$p/short-header.VYK"
tail -c 256 "$p/ford.VYK" >> "$p/short-header.VYK"
printf '\x24\x00\x14\x00' | dd of="$p/short-header.VYK" bs=1 seek=8 conv=notrunc status=none

# Meter text files, and the meters `vyk meter import` makes of them.
t="$corpus/meter_text"
printf 'MAF-100\r\nVolts\r\nkg/hr\r\nA voltage meter\r\nin kilograms\r\n0.50 12.5\r\n1.00 25\r\n2.5\t\t90.25\r\n4.80 480.00 extra\r\n' > "$t/volts-kg.txt"
printf '"HZ-200"\r"kHz"\r"lb/hr"\rA frequency meter\rin kilohertz\r1.5 12.0\r2.25 40\r6 300.5\r' > "$t/khz-lb.txt"
printf 'PN-3\rHertz\rKG/HR\rDesc one\rDesc two\r100 1\r13500 9999.99\r-5 -1\r1e3 12345.67\r\x1aafter the end\r' > "$t/hertz.txt"
m="$corpus/meter_file"
for name in volts-kg khz-lb hertz; do
  "$vyk" meter import "$t/$name.txt" "$m/$name.maf"
done
head -c 2048 "$m/volts-kg.maf" > "$m/no-descriptions.maf"

# Typed texts: a byte choosing the group and output kind, then a row (or address) and a text
# per line.
printf '\x00\x01''2.5\n\x05''4.995\n\x20''-1\n\x21''abc\n\x02''1e39\n' > "$corpus/table_text/ford-volts"
printf '\x04\x01''6000\n\x02''13500\n\x20''5\n\x10''20000\n' > "$corpus/table_text/gm-hertz"
printf '\x01\x03''3.3\n\x04''2948\n' > "$corpus/table_text/gm-volts"
printf '\x05\x07'' 7f \n\x42''1FF\n\x43''G\n\x44''0a\n' > "$corpus/byte_text/bytes"
printf '\x00''4.5\x08\x08''2.\x7f''1\x16''3x.9\n' > "$corpus/limit_text/ford"
printf '\x04''13500\x02''6\x08' > "$corpus/limit_text/gm"

# Point grid events: an operation byte (its low bits the event, its top bit the column), a row,
# and for typing the keys up to a line end.
printf '\x00\x01''1.5\n\x80\x01''12\n\x00\x02''0.5\n\x80\x02''30\n\x04\x00\x05\x00\x03\x00' > "$corpus/meter_grid/two-points"
printf '\x00\x01''7\n\x80\x01''12345\n\x04\x00\x06\x00\x06\x01\x87\x01\x00\x02''7\n\x80\x02''1\n\x05\x00' > "$corpus/meter_grid/limits"

# Settings: a port name to choose on the first line, then the file.
printf '/dev/ttyUSB0\n[System]\nComPort=3\nBaudRate=9600\nPortName=\\\\\\\\.\\\\COM3\n\n; a comment\n[User]\nEEStart=0000\n[Other]\nkey=value\n' > "$corpus/settings_file/windows"
printf 'Simulator\r\n\xef\xbb\xbf[system]\r\nportname = " padded " ; kept\r\nunknown line\r\n' > "$corpus/settings_file/crlf"

VYK_FUZZ_WRITE_SEEDS="$corpus/box_replies" "$fuzz/box_replies_fuzz"

# Live logs: one in volts, one in hertz with "\n" line ends and a byte order mark, one cut short.
l="$corpus/log_file"
header='time,input count,input,output count,output,offset 1,offset 2,offset 3,offset 4,entry'
printf '%s\r\ns,count,V,count,V,count,count,count,count,entry\r\n0.000,512,3.000,410,2.002,0,-3,0,0,16\r\n0.055,520,3.047,420,2.051,0,-3,0,0,16\r\n' "$header" > "$l/volts.csv"
printf '\xef\xbb\xbf%s\ns,count,Hz,count,Hz,count,count,count,count,entry\n1.5,96,276.7,200,576.4,1,2,3,4,3\n2.9,1024,2951.4,1023,2948.5,0,0,0,-16,32\n' "$header" > "$l/hertz.csv"
printf '%s\r\ns,count,V,count,V,count,count,count,count,entry\r\n0.000,512,3.000,410,2.0' "$header" > "$l/cut.csv"
