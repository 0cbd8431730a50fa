#!/usr/bin/env bash
# Creates a Wine prefix that looks like a used Chinese Windows XP profile: its shell
# folders (Cache, Cookies, History, Recent, AppData) point to XP-style GBK folders below
# C:\Documents and Settings, and it holds typed URLs, Run history, search history, a
# start page, AutoComplete form entries, files in the temporary and recent-documents
# folders, cookies, temporary Internet files and visited pages in WinINet's cache (whose
# index.dat files WinINet then writes in the profile's folders), a history container
# recorded in the registry, items in the recycle bin, a Mozilla profile and AOL organize
# files.
# Usage: seed-sandbox.sh PREFIX
# The URL cache is filled by build/win32/corvane_wine_helper.exe (CORVANE_HELPER names
# another), which must have been built.
set -euo pipefail
prefix=$1
here=$(dirname "$0")
helper=${CORVANE_HELPER:-$here/../build/win32/corvane_wine_helper.exe}

# Creates the prefix on first use.
"$here/wine-run.sh" "$prefix" cmd /c exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all LANG=zh_CN.UTF-8 XDG_DATA_HOME=$prefix/xdg-data
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
drive=$prefix/drive_c

# The XP profile: each shell folder as a Windows path and as the folder under drive_c.
xp="Documents and Settings/$user"
declare -A folders=(
    [Cache]="$xp/Local Settings/Internet 临时文件夹"
    [Cookies]="$xp/Cookies"
    [History]="$xp/Local Settings/历史"
    [Recent]="$xp/Recent"
    [AppData]="$xp/Application Data"
)
for name in "${!folders[@]}"; do
    mkdir -p "$drive/${folders[$name]}"
    reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
        /v "$name" /t REG_EXPAND_SZ /d "C:\\${folders[$name]//\//\\}"
done

temp="$drive/users/$user/Temp"
recent="$drive/${folders[Recent]}"
mkdir -p "$temp"
for i in 1 2 3; do echo "scratch $i" >"$temp/~corvane$i.tmp"; done
echo "report" >"$recent/report.txt.lnk"
echo "年度总结" >"$recent/年度总结.doc.lnk"
printf '[.ShellClassInfo]\r\n' >"$recent/desktop.ini"

# A page, a cookie and a visited page of corvane.test in WinINet's cache. WinINet, loaded after
# the shell folders above were set, keeps its caches and their index.dat files in them:
# Cookies, Internet 临时文件夹\Content.IE5 and 历史\History.IE5.
"$here/wine-run.sh" "$prefix" "$helper" urlcache >/dev/null

# A history container of a past day, as Windows writes it: an index.dat that begins with
# the URL-cache signature, recorded under Extensible Cache.
index_dat() {  # index_dat FOLDER BYTES
    mkdir -p "$1"
    { printf 'Client UrlCache MMF Ver 5.2'; head -c "$(($2 - 27))" /dev/zero | tr '\0' 'x'; } \
        >"$1/index.dat"
}
history="$drive/${folders[History]}/History.IE5"
container=MSHist012005031420050315
index_dat "$history/$container" 16384
echo "visited" >"$history/$container/visited.dat"
reg "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Extensible Cache\\$container" \
    /v CachePath /d "C:\\${xp//\//\\}\\Local Settings\\历史\\History.IE5\\$container\\"

# Two items in the recycle bin, which Wine keeps in XDG_DATA_HOME.
trash=$XDG_DATA_HOME/Trash
mkdir -p "$trash/files" "$trash/info"
for name in old-draft.txt 旧照片.jpg; do
    head -c 1000 /dev/zero | tr '\0' 'd' >"$trash/files/$name"
    printf '[Trash Info]\nPath=%s\nDeletionDate=2005-03-14T10:00:00\n' \
        "$drive/$xp/$name" >"$trash/info/$name.trashinfo"
done

# A Mozilla profile (the first profile folder below Profiles\default) with its history,
# cookies and the URL-bar history in localstore.rdf.
profile="$drive/${folders[AppData]}/Mozilla/Profiles/default/k3x9q2vd.slt"
mkdir -p "$profile"
printf '// <!-- <mdb:mork:z v="1.4"/> -->\r\n< <(a=c)> // (f=iso-8859-1)\r\n' >"$profile/history.dat"
printf '.example.com\tTRUE\t/\tFALSE\t1893456000\tsession\t42\r\n' >"$profile/cookies.txt"
{
    printf '<?xml version="1.0"?>\r\n<RDF:RDF xmlns:RDF="http://www.w3.org/1999/02/22-rdf-syntax-ns#">\r\n'
    printf '  <RDF:Seq about="nc:urlbar-history">\r\n'
    for url in http://www.example.com/ http://news.example.org/today 'http://新闻.example.cn/体育'; do
        printf '    <RDF:li>%s</RDF:li>\r\n' "$url"
    done
    printf '  </RDF:Seq>\r\n</RDF:RDF>\r\n'
} >"$profile/localstore.rdf"

# AOL organize files, in the folder shared by all users and beside the program that the
# aol.exe command names; toolbar.dat is no trace and stays.
aol_organize=(
    "$drive/Documents and Settings/All Users/Application Data/AOL/C_America Online 9.0/organize"
    "$drive/Program Files/America Online 9.0/organize"
)
for folder in "${aol_organize[@]}"; do
    mkdir -p "$folder"
    for name in someone.arl someone.AUT toolbar.dat; do echo "$name" >"$folder/$name"; done
done
reg 'HKCR\Applications\aol.exe\shell\open\command' /ve \
    /d '"C:\Program Files\America Online 9.0\aol.exe" -u'
