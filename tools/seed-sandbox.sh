#!/usr/bin/env bash
# Creates a Wine prefix that looks like a used Windows XP profile: typed URLs, Run
# history, search history, a start page, AutoComplete form entries, files in the
# temporary and recent-documents folders.
# Usage: seed-sandbox.sh PREFIX
set -euo pipefail
prefix=$1
here=$(dirname "$0")

# Creates the prefix on first use.
"$here/wine-run.sh" "$prefix" cmd /c exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all LANG=zh_CN.UTF-8
reg() { wine reg add "$@" /f >/dev/null 2>&1; }
typed='HKCU\Software\Microsoft\Internet Explorer\TypedURLs'
reg "$typed" /v url1 /d 'http://www.example.com/'
reg "$typed" /v url2 /d 'http://news.example.org/today'
reg "$typed" /v url3 /d 'http://新闻.example.cn/体育'
reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU' /v a /d 'notepad\1'
reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU' /v MRUList /d 'a'
reg 'HKCU\Software\Microsoft\Internet Explorer\Main' /v '起始页' /d 'http://www.example.com/'
acmru='HKCU\Software\Microsoft\Search Assistant\ACMru'
reg "$acmru\5603" /v 000 /d '年度报告'
reg "$acmru\5603" /v 001 /d 'budget.xls'
reg "$acmru\5647" /v 000 /d 'printer driver'

# AutoComplete form entries of two fields, in the Protected Storage area below the
# user's SID key (Wine gives every user the same SID).
items='HKCU\Software\Microsoft\Protected Storage System Provider\S-1-5-21-0-0-0-1000\Data'
items+='\e161255a-37c3-11d2-bcaa-00c04fd929db\e161255a-37c3-11d2-bcaa-00c04fd929db'
for field in q email; do
  reg "$items\\$field:StringIndex" /v Value /t REG_BINARY /d 0100000002000000
  reg "$items\\$field:StringData" /v Value /t REG_BINARY /d 6500780061006d0070006c0065000000
done

user=$(ls "$prefix/drive_c/users" | grep -v -x Public | head -n 1)
profile="$prefix/drive_c/users/$user"
temp="$profile/Temp"
recent="$profile/AppData/Roaming/Microsoft/Windows/Recent"
mkdir -p "$temp" "$recent"
for i in 1 2 3; do echo "scratch $i" >"$temp/~corvane$i.tmp"; done
echo "report" >"$recent/report.txt.lnk"
