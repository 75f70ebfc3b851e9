"""A dozen realistic sample contacts for the demo folder, stored as the bytes a client would send."""

import os


def _card(*lines, end="\r\n"):
    return end.join(("BEGIN:VCARD", "VERSION:3.0") + lines + ("END:VCARD", "")).encode("cp1252")


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
}


def write_samples(directory):
    for name, data in SAMPLES.items():
        with open(os.path.join(directory, name), "wb") as f:
            f.write(data)
