"""Realistic sample contacts for the demo folder, stored as the bytes a client would send: the
shapes today's address books export (UTF-8, vCard 2.1 quoted-printable, folded lines, escapes, no
FN, lower-case names, a whole address book in one file) beside older Windows-1252 cards."""

import os


def _card(*lines, end="\r\n", version="3.0", encoding="cp1252"):
    return end.join(("BEGIN:VCARD", "VERSION:" + version) + lines + ("END:VCARD", "")).encode(encoding)


def _utf8(*lines, **options):
    return _card(*lines, encoding="utf-8", **options)


SAMPLES = {
    "A01.vcf": _card("N:Doe;Jane;;;", "FN:Jane [Work] Doe", "EMAIL;TYPE=work:jane.doe@example.com",
                     "TEL;TYPE=cell:+1 555 0100"),
    "A02.vcf": _card("N:Smith;John;;;", "FN:John Smith", "EMAIL:john.smith@example.org"),
    "A03.vcf": _card("N:Müller;Jürgen;;;", "FN:Jürgen Müller", "ORG:Bäckerei Müller",
                     "TEL;TYPE=work:+49 30 1234567"),
    "A04.vcf": _card("N:Lefèvre;Zoë;;;", "FN:Zoë Lefèvre [Paris]", "EMAIL:zoe@example.fr"),
    "A05.vcf": _card("N:Nguyen;An;;;", "FN:An Nguyen", "TEL:+84 28 3823 0000", end="\n"),
    "A06.vcf": _card("N:;;;;", "ORG:Velqor Support", "EMAIL:support@example.net"),
    "A07.vcf": _card("N:O'Brien;Siobhán;;;", "FN:Siobhán O'Brien", "EMAIL:siobhan@example.ie"),
    "A08.vcf": _card("N:García;José;;;", "FN:José García [Home]", "ADR;TYPE=home:;;Calle Mayor 1;Madrid;;28013;Spain"),
    "A09.vcf": _card("N:Kowalski;Anna;;;", "FN:Anna Kowalski", "TEL;TYPE=home:+48 22 555 01 01"),
    "A10.vcf": _card("N:Tanaka;Hiro;;;", "FN:Hiro Tanaka", "NOTE:Met at the trade fair"),
    "A11.vcf": _card("N:Berg;Ola;;;", "FN:Ola Berg [Board] [Chair]", "EMAIL:ola.berg@example.no"),
    "A12.vcf": _card("N:Adams;Chris;;;", "FN:Chris Adams", "URL:https://example.com/chris"),
    # Phone and web address books write vCard 4.0 or 3.0 in UTF-8.
    "A13.vcf": _utf8("N:Żółkiewski;Łukasz;;;", "FN:Łukasz Żółkiewski", "EMAIL:lukasz@example.pl",
                     version="4.0"),
    "A14.vcf": _utf8("N:Faßbender;Renée;;;", "item1.FN:Renée Faßbender", "item1.X-ABLABEL:Büro",
                     "TEL;TYPE=\"work,voice\":+49 221 555 0140"),
    # Older desktop mail clients: vCard 2.1, quoted-printable UTF-8, soft line breaks.
    "A15.vcf": _card("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Fran=C3=A7ois;Ana=C3=AFs;;;",
                     "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ana=C3=AFs Fran=C3=A7ois-Du=",
                     "pont",
                     "NOTE;ENCODING=QUOTED-PRINTABLE:Met at the=0D=0Aconference", version="2.1"),
    # A long name folded at 75 characters, as the standard asks.
    "A16.vcf": _utf8("N:Hohenberg-Schwarzenfels;Maximilian;Alexander;;",
                     "FN:Maximilian Alexander Freiherr von Hohenberg-Schwarzenfels und Lichtenste",
                     " in", "EMAIL:max@example.at"),
    "A17.vcf": _card("N:Smith;Robert;;;Jr.", "FN:Robert Smith\\, Jr.", "ORG:Smith\\, Jones & Co.;Legal"),
    "A18.vcf": _card("N:Okafor;Chinedu;Emeka;Dr.;", "TEL:+234 1 555 0180"),
    # A whole address book exported as one file: the list names it after its first card.
    "A19.vcf": _utf8("N:Svensson;Ingrid;;;", "FN:Ingrid Svensson") + _utf8("N:Novák;Pavel;;;", "FN:Pavel Novák")
               + _utf8("N:Okoye;Amara;;;", "FN:Amara Okoye"),
    # Older mail clients write names in lower case.
    "A20.vcf": _card("n:Lindqvist;Greta;;;", "fn:Greta Lindqvist", "email:greta@example.se", end="\n")
               .replace(b"BEGIN:VCARD", b"begin:vcard").replace(b"END:VCARD", b"end:vcard"),
}


def write_samples(directory):
    for name, data in SAMPLES.items():
        with open(os.path.join(directory, name), "wb") as f:
            f.write(data)
