#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into corpus/<target>/seed-* and
the dictionaries <target>.dict. Run it again after changing it; the inputs
that once broke a target (corpus/<target>/regression-*) are kept as they are."""

import pathlib

HERE = pathlib.Path(__file__).resolve().parent

GENERAL = "Общие установки"

TEMPLATE_SETTINGS = [
    "Id_номер=0001", "Тон1=700", "Тон2=750", "Тон3=1000", "Тон4=1200", "Тон5=1400", "Тон6=1550",
    "Тон7=1700", "Тон8=1989", "Тон9=2100", "Тон10=2400", "P_1=5", "P_2=10", "P_3=25", "P_4=40",
    "Яркость диодов=1", "Громкость=8", "МинГромкость=0", "Пик_кнопок=+", "ФВ=00", "Код_DCS=+",
    "Ф_Скан=+", "Ф_V=+", "ВУ=-", "СК=1",
]

CHANNEL_KEYS = ["Номер", "Rx", "Tx", "CTCSS_Rx", "CTCSS_Tx", "DCS_Rx", "DCS_Tx", "Тон_Rx", "Тон_Tx",
                "ШП", "P_max", "P_min", "Сканировать", "Sw", "Id_Тон", "Tx_Off", "Время", "Активен"]


def cp1251(lines):
    return ("\r\n".join(lines) + "\r\n").encode("cp1251")


def channel(number, rx, tx, ctc=("Нет", "Нет"), dcs=("Нет", "Нет"), tones=("Нет", "Нет"),
            sw="25", tx_off="Норм", time="Нет", boxes=("да", "нет", "да")):
    values = [str(number), rx, tx, ctc[0], ctc[1], dcs[0], dcs[1], tones[0], tones[1], "1", "4", "1",
              boxes[0], sw, boxes[1], tx_off, time, boxes[2]]
    return [f"{k}={v}" for k, v in zip(CHANNEL_KEYS, values)]


def channel_file(channels, band=0, module=0, settings=TEMPLATE_SETTINGS):
    lines = [f"[{GENERAL}]", *settings, f"Тип={band}", f"ТипВУ={module}"]
    for i, ch in enumerate(channels, start=1):
        lines += ["", f"[{i}]", *ch]
    return cp1251(lines)


def channel_seeds():
    three = [channel(1, "144000", "144000"),
             channel(2, "144006,25", "145000", ctc=("67,0", "254,1"), sw="12,5", boxes=("нет", "да", "да")),
             channel(3, "РЕТР_ПП", "РЕТР_ПР", dcs=("023", "754"), tones=("1", "10"), tx_off="RSSI", time="15")]
    yield "template-3", channel_file(three)
    yield "band30-module5", channel_file([channel(7, "30000", "59993,75", tx_off="OFF")], band=1, module=5)
    yield "band400-hex-codes", channel_file([channel(1, "400000", "486000")], band="0x3", module="$2")
    yield "unknown-codes", channel_file([channel(1, "144000", "144000")], band=9, module=200)
    gap = channel_file([channel(1, "144000", "144000"), channel(2, "145000", "145000")])
    yield "gap", gap + cp1251(["[4]", "Rx=150000"])
    yield "no-section-1", cp1251([f"[{GENERAL}]", "Тип=0", "[2]", "Rx=144000"])
    yield "only-rx", cp1251([f"[{GENERAL}]", "[1]", "Rx=144012,5", "Активен=Да"])
    yield "empty", b""
    yield "not-ini", b"\x00\xff\xfe garbage without sections\n"
    text = "\r\n".join([f"[{GENERAL}]", *TEMPLATE_SETTINGS, "Тип=0", "ТипВУ=0", "[1]", *channel(1, "144000", "144000")])
    yield "utf8-bom", b"\xef\xbb\xbf" + text.encode("utf-8")
    yield "utf8", text.encode("utf-8")
    yield "utf16le", b"\xff\xfe" + text.encode("utf-16-le")
    yield "bad-values", channel_file([channel("abc", "14x000", "", ctc=("67", "?"), dcs=("999", "Нет"),
                                              tones=("11", "-1"), time="300")],
                                     settings=["Id_номер=12345", "Тон1=abc", "ФВ=4", "СК=99", "Громкость=0"])
    yield "long-value", cp1251([f"[{GENERAL}]", "Id_номер=" + "7" * 2100, "[1]", "Номер=" + "Ж" * 2100])
    yield "mixed-line-ends", channel_file([channel(1, "144000", "144000")]).replace(b"\r\n", b"\n", 10).replace(
        b"\r\n", b"\r", 5)


def reply(serial=b"\x01\x23\xab", brightness=6, volume=8, beep=200, special=0, id_code=0x12AB,
          tones=bytes([70, 75, 100, 120, 140, 155, 170, 199, 210, 240]), fv=0x42, min_volume=0,
          dcs_mode=200, options=0x06, module=0, band=0, records=(), count=None):
    n = len(records) if count is None else count
    head = serial + bytes([brightness, volume, n, beep, special, id_code >> 8, id_code & 0xFF])
    return head + tones + bytes([fv, min_volume, dcs_mode, options, module, band, 0, 0]) + b"".join(records)


ROW1 = bytes.fromhex("BE 01 11 D8 81 11 68 01 01 C8 00 00 01 01 04 FF 00 00")
ROW2 = bytes.fromhex("6E 02 11 DC 41 11 6A 41 C8 02 03 00 02 02 03 F6 05 00")
ROW_DCS = bytes.fromhex("86 03 11 D8 81 11 68 01 14 6E 01 02 00 02 02 F0 0A 00")


def reply_seeds():
    yield "two-channels", reply(records=[ROW1, ROW2])
    yield "no-channels", reply()
    yield "band30-module3", reply(band=1, module=3, records=[ROW1])
    yield "band400-dcs-by-list", reply(band=3, dcs_mode=100, records=[ROW_DCS, ROW1, ROW2])
    yield "unknown-band", reply(band=7, module=9, special=5, records=[ROW2])
    yield "cut-in-record", reply(records=[ROW1, ROW2])[:50]
    yield "cut-in-block1", reply()[:7]
    yield "too-many", reply(count=100)
    yield "surplus", reply(records=[ROW1]) + b"\xff" * 30
    yield "ninety-nine", reply(records=[ROW1, ROW2] * 49 + [ROW1])


def profile_seeds():
    yield "options", b"[All]\r\nPort=1\r\n\r\n[Ports]\r\nCOM3=/dev/ttyUSB0\r\nCOM1=\r\n"
    yield "options-hex", b"[all]\nport=$0102\n[PORTS]\ncom9 = /tmp/ttyVetral \n"
    yield "mytemp", cp1251([f"[{GENERAL}]", *TEMPLATE_SETTINGS])
    yield "duplicates", cp1251(["; comment", "key=outside", "[A]", "k=1", "K=2", "[a]", "k=3", "[B]", "=x",
                                "no equals", "  k2  =  v  =w ", "[C", "[D]x", "z=0x7fffffff"])
    yield "numbers", cp1251(["[N]", "a=-2147483648", "b=2147483648", "c=+0012", "d=0X1f", "e=$FFFFFFFF",
                             "f=$123456789", "g=-", "h=0x", "i= 12 "])
    yield "channel-file", channel_file([channel(1, "144000", "144000")])


CSV_HEADER = ["№ кан.", " Rx, кГц", " Tx, кГц", "CTC_Rx", "CTC_Tx", "DCS_Rx", "DCS_Tx", "Тон_Rx", "Тон_Tx",
              "  ШП", "P_max", "P_min", "Скан.", "  SW", "Id_Тон", "Tx_Off", "Время", "Акт"]


def csv_line(fields):
    def field(f):
        return '"' + f.replace('"', '""') + '"' if any(c in f for c in ';"\r\n') else f
    return ";".join(field(f) for f in fields) + "\r\n"


def csv_row(number, rx, tx, ctc=("Нет", "Нет"), dcs=("Нет", "Нет"), boxes=("+", "", "+"), tx_off="Норм"):
    return [str(number), rx, tx, ctc[0], ctc[1], dcs[0], dcs[1], "Нет", "1", "1", "4", "1", boxes[0], "25",
            boxes[1], tx_off, "Нет", boxes[2]]


def csv_seeds():
    rows = [csv_row(1, "144000", "144000"), csv_row(2, "144006,25", "РЕТР_ПР", ("67,0", "254,1"), ("023", "754")),
            csv_row(3, "РЕТР_ПП", "145000,00", boxes=("", "+", ""), tx_off='Норм; "ч"')]
    text = "".join(csv_line(f) for f in [CSV_HEADER] + rows)
    yield "export-utf8", b"\xef\xbb\xbf" + text.encode("utf-8")
    yield "export-cp1251", text.encode("cp1251")
    spreadsheet = [csv_row(7, "145500", "144900,5", ("67", "254.1"), ("23", "754")) + ["", ""]]
    yield "spreadsheet", "".join(csv_line(f) for f in [[h.strip() for h in CSV_HEADER]] + spreadsheet).replace(
        "\r\n", "\n").encode("utf-8")
    yield "header-only", csv_line(CSV_HEADER).encode("utf-8")
    yield "too-few-fields", (csv_line(CSV_HEADER) + "1;144000;144000\r\n").encode("utf-8")
    yield "unclosed-quote", (csv_line(CSV_HEADER) + '1;"144000\r\n').encode("utf-8")
    yield "journal", "\ufeffПорт;Серийный номер;Id\r\nCOM3;0A0001;0101\r\n".encode("utf-8")
    yield "empty", b""


def dict_entry(text, encoding="cp1251"):
    data = text.encode(encoding)
    return '"' + "".join(chr(b) if 32 <= b < 127 and chr(b) not in '"\\' else f"\\x{b:02X}" for b in data) + '"'


def write_dicts():
    words = [f"[{GENERAL}]", "[1]", "[2]", "[3]", "=", "\r\n", "Тип=", "ТипВУ=", "да", "нет", "Нет", "Норм",
             "RSSI", "OFF", "РЕТР_ПП", "РЕТР_ПР", "12,5", "67,0", "023", "0x", "$"]
    words += [k.split("=")[0] + "=" for k in TEMPLATE_SETTINGS] + [k + "=" for k in CHANNEL_KEYS]
    (HERE / "channelfile.dict").write_text("\n".join(dict_entry(w) for w in words) + "\n")
    csv_words = ["\"", ";", "\r\n", "\n", "\"\"", "+", "да", "нет", "Нет", "Норм", "RSSI", "OFF", "РЕТР_ПП",
                 "РЕТР_ПР", "12,5", "67,0", "023", ",00", "\ufeff"] + CSV_HEADER
    (HERE / "csv.dict").write_text("\n".join(dict_entry(w, "utf-8") for w in csv_words) + "\n")
    (HERE / "profile.dict").write_text("\n".join(dict_entry(w) for w in ["[", "]", "=", "\r\n", "\r", "[All]",
                                                                       "Port=", "[Ports]", "0x", "0X", "$", "-",
                                                                       "+", " ", "\t"]) + "\n")


def main():
    for target, seeds in (("channelfile", channel_seeds()), ("reply", reply_seeds()), ("profile", profile_seeds()),
                          ("csv", csv_seeds())):
        folder = HERE / "corpus" / target
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.glob("seed-*"):
            old.unlink()
        for name, data in seeds:
            (folder / f"seed-{name}").write_bytes(data)
    write_dicts()


if __name__ == "__main__":
    main()
